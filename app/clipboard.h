#pragma once
#include <windows.h>

#include <string>

namespace hivescout {

enum class ClipboardText { Read, Empty, Unavailable };

// Reads the clipboard's text. Another program may hold the clipboard for a moment, so
// opening it is retried for a short, bounded time; Unavailable leaves the system's
// error code in error.
ClipboardText readClipboardText(std::wstring& text, DWORD& error);

}  // namespace hivescout
