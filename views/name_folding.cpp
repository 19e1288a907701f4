#include "views/name_folding.h"

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
