#pragma once
#include <string>
#include <string_view>

namespace hivescout {

// The text without the units of the set at its front, or at its back; empty when every
// unit belongs to the set.
std::wstring trimFront(std::wstring_view text, std::wstring_view units);
std::wstring trimBack(std::wstring_view text, std::wstring_view units);

}  // namespace hivescout
