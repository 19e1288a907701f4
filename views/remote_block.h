#pragma once
#include <windows.h>

#include <cstdint>

#include "base/handle.h"

namespace hivescout {

// One block of memory inside the editor's process, whose handle it borrows from the
// editor's owner. It is freed in one place, release(), and only while the editor runs;
// the termination path forgets it instead.
class RemoteBlock {
public:
    RemoteBlock() = default;
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    ~RemoteBlock() { release(); }

    // Makes sure a block of this size is held in the process. A block already held there
    // is kept, so searching the windows again never leaves an earlier block behind.
    bool allocate(HANDLE process, SIZE_T size);

    // Frees the block unless the editor has ended (its memory went with it).
    void release() noexcept;

    // Forgets the block without any call: a message still in flight may use it.
    void abandon() noexcept {
        address_ = nullptr;
        process_ = nullptr;
        size_ = 0;
    }

    bool held() const noexcept { return address_ != nullptr; }
    void* address() const noexcept { return address_; }
    std::uint64_t remoteAddress() const noexcept { return reinterpret_cast<std::uintptr_t>(address_); }
    HANDLE process() const noexcept { return process_; }

private:
    void* address_ = nullptr;
    HANDLE process_ = nullptr;
    SIZE_T size_ = 0;
};

}  // namespace hivescout
