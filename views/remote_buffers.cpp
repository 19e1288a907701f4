#include "views/remote_buffers.h"

#include <windows.h>
#include <commctrl.h>

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_texts.h"

namespace hivescout {

namespace {

constexpr std::uint32_t kTreeWriteFailed = ExitFlags::KeyNotFound | ExitFlags::TreeItemWriteFailed;
constexpr std::uint32_t kTreeReadFailed = ExitFlags::KeyNotFound | ExitFlags::TreeItemReadFailed;
constexpr std::uint32_t kListWriteFailed = ExitFlags::KeyNotFound | ExitFlags::ListItemWriteFailed;
constexpr std::uint32_t kListReadFailed = ExitFlags::KeyNotFound | ExitFlags::ListRowReadFailed;

// 0 once the whole record is in the block; else the error, a short write being a partial copy
// (the call succeeded, so the thread's last error says nothing about it).
DWORD writeRecord(const RemoteBlock& block, const std::uint8_t* bytes, std::size_t size) {
    SIZE_T written = 0;
    if (!::WriteProcessMemory(block.process(), block.address(), bytes, size, &written)) return ::GetLastError();
    return written == size ? 0 : ERROR_PARTIAL_COPY;
}

// The same for the text read back.
DWORD readText(const RemoteBuffers& buffers) {
    SIZE_T read = 0;
    if (!::ReadProcessMemory(buffers.process(), buffers.text.address(), buffers.localText.get(), kRemoteTextBytes,
                             &read))
        return ::GetLastError();
    return read == kRemoteTextBytes ? 0 : ERROR_PARTIAL_COPY;
}

struct Exchange {
    UINT message;
    const RemoteBlock& record;
    std::uint32_t writeFailed;
    std::uint32_t readFailed;
};

ItemText exchangeText(RemoteBuffers& buffers, HWND control, const Exchange& exchange, const std::uint8_t* bytes,
                      std::size_t size) {
    ItemText result;
    if (const DWORD error = writeRecord(exchange.record, bytes, size)) {
        result.failure = SystemError{error}.report(exchange.writeFailed, text::kRemoteWriteFailed);
        return result;
    }
    const std::optional<LRESULT> answer =
        buffers.messages.send(control, exchange.message, 0, reinterpret_cast<LPARAM>(exchange.record.address()));
    if (!answer) {
        result.failure = exchange.readFailed;
        return result;
    }
    result.answer = *answer;
    // Read back even after a zero answer: an editor that ended while it handled the
    // message answers zero too, and only the failed read tells the two apart.
    if (const DWORD error = readText(buffers)) {
        result.failure = SystemError{error}.report(exchange.readFailed, text::kRemoteReadFailed);
        return result;
    }
    // After a zero answer the block holds an earlier item's text, which must never match.
    if (result.answer != 0) result.text = terminateLocalText(buffers.localText.get());
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

ItemText queryItemText(RemoteBuffers& buffers, HWND tree, const TreeItemRecord& record) {
    const Exchange exchange{TVM_GETITEMW, buffers.treeItem, kTreeWriteFailed, kTreeReadFailed};
    return exchangeText(buffers, tree, exchange, record.bytes().data(), record.bytes().size());
}

ItemText queryItemText(RemoteBuffers& buffers, HWND list, const ListItemRecord& record) {
    const Exchange exchange{LVM_GETITEMW, buffers.listItem, kListWriteFailed, kListReadFailed};
    return exchangeText(buffers, list, exchange, record.bytes().data(), record.bytes().size());
}

std::uint32_t writeListRecord(RemoteBuffers& buffers, const ListItemRecord& record) {
    const DWORD error = writeRecord(buffers.listItem, record.bytes().data(), record.bytes().size());
    return error == 0 ? 0 : SystemError{error}.report(kListWriteFailed, text::kRemoteWriteFailed);
}

std::uint32_t RemoteBuffers::allocate(HANDLE editor) {
    if (!text.allocate(editor, kTextBlockUnits * sizeof(wchar_t)) || !treeItem.allocate(editor, kTreeItemRecordSize) ||
        !listItem.allocate(editor, kListItemRecordSize)) {
        reportError(text::kRemoteAllocationFailed);
        return ExitFlags::CommunicationSetupFailed;
    }
    if (!localText) localText = std::make_unique<wchar_t[]>(kTextBlockUnits);
    return 0;
}

void RemoteBuffers::release() noexcept {
    for (RemoteBlock* block : {&listItem, &treeItem, &text}) {
        if (messages.unanswered())
            block->abandon();
        else
            block->release();
    }
    localText.reset();
}

}  // namespace hivescout
