#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace hivescout {

// Show the usage text as rich text (the rich-edit library must be loaded, so that the
// window class "RichEdit20W" exists) or as plain text, in a modal, resizable window.
// Both return the result bits of the usage window: 0, UsageWindowFailed, or UsageWindowFailed
// with ResourceExtractionFailed.
// programFileName replaces the program's name wherever the text shows it.
std::uint32_t showRichUsage(const std::wstring& programFileName);
std::uint32_t showPlainUsage(const std::wstring& programFileName);

// Appends the bytes of a resource of the given module (the program's own by default) to
// the buffer. 0 on success; ResourceExtractionFailed after reporting the stage that failed.
std::uint32_t readResourceData(std::vector<char>& buffer, WORD id, const wchar_t* type, HMODULE module = nullptr);

}  // namespace hivescout
