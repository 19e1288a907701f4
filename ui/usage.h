#pragma once
#include <cstdint>

// Show the usage text as rich text (the rich-edit library is loaded) or as plain text.
// Both return the result bits of the usage window.
std::uint32_t showRichUsage();
std::uint32_t showPlainUsage();
