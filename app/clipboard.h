#pragma once
#include <windows.h>

#include <string>

namespace hivescout {

enum class ClipboardText { Read, Empty, Unavailable, NotDelivered };

// Reads the clipboard's text. Another program may hold the clipboard for a moment, so
// opening it is retried for a short, bounded time; Unavailable leaves the system's
// error code in error.
ClipboardText readClipboardText(std::wstring& text, DWORD& error);

// The same read, given up after boundMs: an owner that promised its text for later
// renders it only when asked, and one that stops answering would hold the read for as
// long as it hangs. NotDelivered then; the read goes on, stuck, on a thread of its own
// until the process ends, and the system closes the clipboard with that thread.
ClipboardText readClipboardTextWithin(DWORD boundMs, std::wstring& text, DWORD& error);

}  // namespace hivescout
