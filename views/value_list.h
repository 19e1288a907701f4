#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "views/record_layout.h"
#include "views/view_finder.h"

namespace hivescout {

enum class ValueSearch { Selected, NotFound, Failed };

struct ValueSearchResult {
    ValueSearch outcome = ValueSearch::NotFound;
    std::uint32_t failure = 0;  // bits of a failed exchange, its line already reported
};

// Looks for the row named valueName in the list of the selected key and selects it.
ValueSearchResult selectValueInList(const std::wstring& valueName, const RegeditViews& views, RecordLayout layout);

// Un-minimises the editor's main window (the one that holds the tree, directly or through
// an inner window) and brings it to the foreground.
void restoreRegeditWindow(HWND tree);

// The wait before the not-found report, and the report unless the editor has ended.
std::uint32_t finishNotFound(HWND tree);

}  // namespace hivescout
