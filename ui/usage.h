#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "resources/resource_ids.h"

// Show the usage text as rich text (the rich-edit library is loaded) or as plain text.
// Both return the result bits of the usage window: 0, 16384, or 16384 + 1048576.
std::uint32_t showRichUsage();
std::uint32_t showPlainUsage();

// Appends the bytes of a resource of the given module (the program's own by default) to
// the buffer. 0 on success; 1048576 after reporting the stage that failed.
std::uint32_t readResourceData(std::vector<char>& buffer, WORD id, const wchar_t* type, HMODULE module = nullptr);
