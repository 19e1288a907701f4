#include "app/clipboard.h"

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "base/handle.h"

namespace hivescout {

namespace {

const DWORD kOpenRetryMs = 500;
const DWORD kOpenPauseMs = 20;

// Another program may hold the clipboard for a moment, so opening is retried briefly.
UniqueClipboard openClipboard(DWORD& error) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (::OpenClipboard(nullptr)) return UniqueClipboard(true);
        error = ::GetLastError();
        if (::GetTickCount() - start >= kOpenRetryMs) return UniqueClipboard();
        ::Sleep(kOpenPauseMs);
    }
}

}  // namespace

ClipboardText readClipboardText(std::wstring& text, DWORD& error) {
    text.clear();
    const UniqueClipboard clipboard = openClipboard(error);
    if (!clipboard) return ClipboardText::Unavailable;
    const HANDLE memory = ::GetClipboardData(CF_UNICODETEXT);
    if (memory == nullptr) return ClipboardText::Empty;
    const void* data = ::GlobalLock(memory);
    if (data == nullptr) return ClipboardText::Empty;
    const UniqueGlobalLock lock(memory);
    // The text ends at its first NUL, and never beyond the block.
    const auto* units = static_cast<const wchar_t*>(data);
    const std::size_t capacity = ::GlobalSize(memory) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < capacity && units[length] != L'\0') ++length;
    text.assign(units, length);
    return text.empty() ? ClipboardText::Empty : ClipboardText::Read;
}

ClipboardText readClipboardTextWithin(DWORD boundMs, std::wstring& text, DWORD& error) {
    // Shared with the reading thread, which may outlive this call.
    struct Read {
        std::wstring text;
        DWORD error = 0;
        ClipboardText result = ClipboardText::Unavailable;
        std::promise<void> done;
    };
    const auto read = std::make_shared<Read>();
    std::future<void> done = read->done.get_future();
    std::thread([read] {
        read->result = readClipboardText(read->text, read->error);
        read->done.set_value();
    }).detach();
    text.clear();
    if (done.wait_for(std::chrono::milliseconds(boundMs)) != std::future_status::ready)
        return ClipboardText::NotDelivered;
    text = read->text;
    error = read->error;
    return read->result;
}

}  // namespace hivescout
