#include "views/remote_buffers.h"

#include <windows.h>
#include <commctrl.h>

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_texts.h"

namespace hivescout {

RemoteBuffers remoteBuffers;

namespace {

constexpr std::uint32_t kTreeWriteFailed = ExitFlags::KeyNotFound | ExitFlags::TreeItemWriteFailed;
constexpr std::uint32_t kTreeReadFailed = ExitFlags::KeyNotFound | ExitFlags::TreeItemReadFailed;
constexpr std::uint32_t kListWriteFailed = ExitFlags::KeyNotFound | ExitFlags::ListItemWriteFailed;
constexpr std::uint32_t kListReadFailed = ExitFlags::KeyNotFound | ExitFlags::ListRowReadFailed;

bool writeRecord(const RemoteBlock& block, const std::uint8_t* bytes, std::size_t size) {
    SIZE_T written = 0;
    return ::WriteProcessMemory(remoteBuffers.process, block.address(), bytes, size, &written) && written == size;
}

bool readText() {
    SIZE_T read = 0;
    return ::ReadProcessMemory(remoteBuffers.process, remoteBuffers.text.address(), remoteBuffers.localText.get(),
                               kRemoteTextBytes, &read) &&
           read == kRemoteTextBytes;
}

struct Exchange {
    UINT message;
    const RemoteBlock& record;
    std::uint32_t writeFailed;
    std::uint32_t readFailed;
};

ItemText exchangeText(HWND control, const Exchange& exchange, const std::uint8_t* bytes, std::size_t size) {
    ItemText result;
    if (!writeRecord(exchange.record, bytes, size)) {
        reportWriteFailure(::GetLastError());
        result.failure = exchange.writeFailed;
        return result;
    }
    result.answer = ::SendMessageW(control, exchange.message, 0, reinterpret_cast<LPARAM>(exchange.record.address()));
    // Read back even after a zero answer: an editor that ended while it handled the
    // message answers zero too, and only the failed read tells the two apart.
    if (!readText()) {
        reportReadFailure(::GetLastError());
        result.failure = exchange.readFailed;
        return result;
    }
    // After a zero answer the block holds an earlier item's text, which must never match.
    if (result.answer != 0) result.text = terminateLocalText(remoteBuffers.localText.get());
    return result;
}

}  // namespace

std::wstring_view terminateLocalText(wchar_t* text) {
    // A well-behaved control ends the text within the capacity it was told; one that
    // does not must not lead us past the block.
    text[kRemoteTextCapacity - 1] = L'\0';
    text[kRemoteTextCapacity] = L'\0';
    return std::wstring_view(text);
}

void reportWriteFailure(DWORD error) {
    reportError(text::kRemoteWriteFailed, formatSystemMessage(error));
}

void reportReadFailure(DWORD error) {
    reportError(text::kRemoteReadFailed, formatSystemMessage(error));
}

ItemText queryItemText(HWND tree, const TreeItemRecord& record) {
    const Exchange exchange{TVM_GETITEMW, remoteBuffers.treeItem, kTreeWriteFailed, kTreeReadFailed};
    return exchangeText(tree, exchange, record.bytes().data(), record.bytes().size());
}

ItemText queryItemText(HWND list, const ListItemRecord& record) {
    const Exchange exchange{LVM_GETITEMW, remoteBuffers.listItem, kListWriteFailed, kListReadFailed};
    return exchangeText(list, exchange, record.bytes().data(), record.bytes().size());
}

std::uint32_t writeListRecord(const ListItemRecord& record) {
    if (writeRecord(remoteBuffers.listItem, record.bytes().data(), record.bytes().size())) return 0;
    reportWriteFailure(::GetLastError());
    return kListWriteFailed;
}

void allocateLocalText() {
    if (!remoteBuffers.localText) remoteBuffers.localText = std::make_unique<wchar_t[]>(kTextBlockUnits);
}

void releaseRemoteBuffers() {
    remoteBuffers.listItem.release();
    remoteBuffers.treeItem.release();
    remoteBuffers.text.release();
    remoteBuffers.localText.reset();
    remoteBuffers.process = nullptr;
}

void abandonRemoteBuffers() noexcept {
    remoteBuffers.listItem.abandon();
    remoteBuffers.treeItem.abandon();
    remoteBuffers.text.abandon();
    // Freeing would take the heap lock, which the suspended main thread may hold.
    static_cast<void>(remoteBuffers.localText.release());
    remoteBuffers.process = nullptr;
}

}  // namespace hivescout
