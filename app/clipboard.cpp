#include "app/clipboard.h"

namespace hivescout {

namespace {

const DWORD kOpenRetryMs = 500;
const DWORD kOpenPauseMs = 20;

class OpenClipboardScope {
public:
    OpenClipboardScope() {
        const DWORD start = ::GetTickCount();
        for (;;) {
            open_ = ::OpenClipboard(nullptr) != FALSE;
            if (open_) break;
            error_ = ::GetLastError();
            if (::GetTickCount() - start >= kOpenRetryMs) break;
            ::Sleep(kOpenPauseMs);
        }
    }
    ~OpenClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool open() const { return open_; }
    DWORD error() const { return error_; }

private:
    bool open_ = false;
    DWORD error_ = 0;
};

class GlobalLockScope {
public:
    explicit GlobalLockScope(HANDLE memory) : memory_(memory), data_(::GlobalLock(memory)) {}
    ~GlobalLockScope() {
        if (data_) ::GlobalUnlock(memory_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    const void* data() const { return data_; }

private:
    HANDLE memory_;
    void* data_;
};

}  // namespace

ClipboardText readClipboardText(std::wstring& text, DWORD& error) {
    text.clear();
    OpenClipboardScope clipboard;
    if (!clipboard.open()) {
        error = clipboard.error();
        return ClipboardText::Unavailable;
    }
    const HANDLE memory = ::GetClipboardData(CF_UNICODETEXT);
    if (memory == nullptr) return ClipboardText::Empty;
    const GlobalLockScope lock(memory);
    if (lock.data() == nullptr) return ClipboardText::Empty;
    // The text ends at its first NUL, and never beyond the block.
    const auto* units = static_cast<const wchar_t*>(lock.data());
    const std::size_t capacity = ::GlobalSize(memory) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < capacity && units[length] != L'\0') ++length;
    text.assign(units, length);
    return text.empty() ? ClipboardText::Empty : ClipboardText::Read;
}

}  // namespace hivescout
