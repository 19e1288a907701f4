#include "base/text_trimming.h"

namespace hivescout {

std::wstring trimFront(std::wstring_view text, std::wstring_view units) {
    const auto first = text.find_first_not_of(units);
    return first == std::wstring_view::npos ? std::wstring() : std::wstring(text.substr(first));
}

std::wstring trimBack(std::wstring_view text, std::wstring_view units) {
    const auto last = text.find_last_not_of(units);
    return last == std::wstring_view::npos ? std::wstring() : std::wstring(text.substr(0, last + 1));
}

}  // namespace hivescout
