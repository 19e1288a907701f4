#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "views/record_layout.h"
#include "views/remote_buffers.h"
#include "views/view_finder.h"

namespace hivescout {

enum class ValueSearch { Selected, NotFound, Failed };

struct ValueSearchResult {
    ValueSearch outcome = ValueSearch::NotFound;
    std::uint32_t failure = 0;  // bits of a failed exchange, its line already reported
    bool rowFound = false;      // also when selecting the row then failed
    std::wstring_view rowText;  // the row's text as the list shows it; valid until the next exchange
};

// Looks for the row named valueName in the list of the selected key, selects it and
// scrolls it into view.
ValueSearchResult selectValueInList(const std::wstring& valueName, const RegeditViews& views, RecordLayout layout,
                                    RemoteBuffers& buffers);

// Once the editor's window is shown: the input a user's choice of the row would bring.
void confirmRowChoice(HWND list, EditorMessenger& messages);

// The wait before the not-found report, and the report (naming kindWord) unless the
// editor has ended or did not answer.
std::uint32_t finishNotFound(const RemoteBuffers& buffers, const wchar_t* kindWord);

}  // namespace hivescout
