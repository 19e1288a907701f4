#include "base/text_folding.h"

namespace hivescout {

bool equalsFolded(std::wstring_view text, std::wstring_view foldedName) {
    if (text.size() != foldedName.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (foldUnit(text[i]) != foldedName[i]) return false;
    return true;
}

void foldInto(std::wstring& target, std::wstring_view text) {
    target.assign(text.data(), text.size());
    for (auto& unit : target) unit = foldUnit(unit);
}

std::wstring foldToLower(std::wstring_view text) {
    std::wstring folded;
    foldInto(folded, text);
    return folded;
}

std::wstring foldToUpper(std::wstring_view text) {
    std::wstring folded(text);
    for (auto& unit : folded) unit = foldUnitToUpper(unit);
    return folded;
}

}  // namespace hivescout
