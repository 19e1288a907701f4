#pragma once
#include <string>

namespace hivescout {

// Registry paths as other tools copy them: the editor's address bar with the computer
// first, PowerShell drives and provider paths, .reg file section lines, kernel paths,
// and text pasted with quotes or a line end. Each becomes the plain form (root key
// first, then key names); a path that already starts with a root key is left alone, so
// no path that was valid before changes meaning.
std::wstring rewriteCopiedPath(std::wstring path);

// The first line of a text that holds more than blanks, without its line end; empty
// when there is none.
std::wstring firstNonEmptyLine(const std::wstring& text);

}  // namespace hivescout
