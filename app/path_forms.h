#pragma once
#include <array>
#include <string>

namespace hivescout {

struct RootKeyAlias {
    const wchar_t* shortName;
    const wchar_t* longForm;
};

// The root keys' short names and the long forms they stand for, searched in this order.
extern const std::array<RootKeyAlias, 5> rootKeyAliases;

// Makes a jump path plain. Copied forms first: the editor's address bar with the
// computer first, PowerShell drives and provider paths, .reg file section lines, kernel
// paths, and text pasted with quotes or a line end. Then leading blanks and backslashes
// and trailing backslashes go, and a short root name is expanded. Returns the number of
// trailing backslashes taken off: a value's name may end with them.
std::size_t normaliseJumpPath(std::wstring& path);

// The first line of a text that holds more than blanks, without its line end; empty
// when there is none.
std::wstring firstNonEmptyLine(const std::wstring& text);

}  // namespace hivescout
