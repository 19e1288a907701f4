#pragma once
#include <string>

namespace hivescout {

// The name under which the usage texts mention the program; the program puts its own
// file name there before it shows them.
constexpr char kStoredProgramName[] = "Hivescout.exe";
constexpr wchar_t kStoredProgramNameWide[] = L"Hivescout.exe";

// Replaces every occurrence of pattern (case-sensitive). The replacement is inserted up
// to its first NUL; each search resumes right after the inserted text, so text inside an
// inserted name is never searched again and no stored occurrence is skipped.
std::string substituteProgramName(std::string text, const std::string& pattern, const std::string& replacement);
std::wstring substituteProgramName(std::wstring text, const std::wstring& pattern, const std::wstring& replacement);

// The file name as the plain text shows it: in double quotes when it holds a blank.
std::wstring plainFileNameReplacement(const std::wstring& fileName);

// The file name as RTF that shows it as it is: braces and backslashes escaped, characters
// outside printable ASCII as \uN? (N the signed 16-bit code unit, '?' for readers without
// Unicode). In double quotes when it holds a blank. A name can never open or close a group
// or start a control word of the document.
std::string richFileNameReplacement(const std::wstring& fileName);

// The usage window's caption: "Hivescout  64 Bit Usage Information".
std::wstring usageTitle();

}  // namespace hivescout
