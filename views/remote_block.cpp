#include "views/remote_block.h"

namespace hivescout {

bool RemoteBlock::allocate(HANDLE process, SIZE_T size) {
    if (held() && process_ == process && size_ == size) return true;
    release();
    void* address = ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address == nullptr) return false;
    address_ = address;
    process_ = process;
    size_ = size;
    return true;
}

void RemoteBlock::release() noexcept {
    if (!held()) return;
    if (!processHasEnded(process_)) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    abandon();
}

}  // namespace hivescout
