#pragma once
#include <string>
#include <string_view>

namespace hivescout {

// Names are compared as the C locale folds them: only 'A' to 'Z' change case, every
// other UTF-16 unit (accented capitals included) stays as it is.
inline wchar_t foldUnit(wchar_t unit) {
    return (unit >= L'A' && unit <= L'Z') ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
}

inline wchar_t foldUnitToUpper(wchar_t unit) {
    return (unit >= L'a' && unit <= L'z') ? static_cast<wchar_t>(unit - L'a' + L'A') : unit;
}

// Whether text, folded, equals an already folded name: same length, same units.
// Folds on the fly so that comparing an item costs no memory.
bool equalsFolded(std::wstring_view text, std::wstring_view foldedName);

// Replaces target with the folded text. Reuses target's capacity, so a buffer reserved
// once serves every row of a scan.
void foldInto(std::wstring& target, std::wstring_view text);

std::wstring foldToLower(std::wstring_view text);
std::wstring foldToUpper(std::wstring_view text);

}  // namespace hivescout
