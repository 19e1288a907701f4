#pragma once
#include <cstddef>
#include <string>

namespace hivescout {

// The byte form of report text in files and pipes: UTF-8, with every line feed written
// as carriage return plus line feed (text mode). ASCII comes out byte for byte; a lone
// surrogate becomes U+FFFD, so no character can make a write fail.
std::string encodeReportText(const wchar_t* text, std::size_t length);

// Text mode for the console, which takes UTF-16 directly.
std::wstring toConsoleText(const wchar_t* text, std::size_t length);

// A name or path as report lines show it: control characters (C0, DEL, C1) and the
// Unicode line and paragraph separators become <U+XXXX>, so that no text from the
// command line can end a report line early or add lines of its own.
std::wstring visibleInReport(const std::wstring& text);

}  // namespace hivescout
