#include "views/value_list.h"

#include <windows.h>
#include <commctrl.h>

#include <climits>

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/text_folding.h"
#include "base/report_texts.h"

namespace hivescout {

namespace {

constexpr DWORD kListSettleMs = 50;
constexpr int kHeaderPolls = 50;
constexpr DWORD kNotFoundWaitMs = 500;

// The list fills its rows after the key is selected; its header answers -1 until then.
// The row count is asked for the round trip alone: it returns only once the list's thread
// has handled what was sent before it.
void waitForListHeader(HWND list) {
    ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (!header) return;
    for (int polls = 1; polls <= kHeaderPolls; ++polls) {
        const LRESULT columns = ::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
        ::Sleep(0);
        if (columns != -1) break;
    }
}

struct RowMatch {
    bool found = false;
    std::int32_t row = 0;
    std::uint32_t failure = 0;
    std::wstring_view text;
};

// Rows are read in index order until the list answers zero (no such row). Every folded
// row text goes to the debugger output as a trace of the search.
RowMatch findRow(HWND list, const std::wstring& foldedName, RecordLayout layout, RemoteBuffers& buffers) {
    ListItemRecord query = ListItemRecord::textQuery(layout, buffers.text.remoteAddress());
    std::wstring folded;
    folded.reserve(kRemoteTextCapacity);
    RowMatch match;
    for (std::int32_t row = 0; row < INT_MAX; ++row) {
        ::Sleep(0);
        query.setRow(row);
        const ItemText item = queryItemText(buffers, list, query);
        if (item.failure) {
            match.failure = item.failure;
            return match;
        }
        if (item.answer == 0) return match;
        foldInto(folded, item.text);
        ::OutputDebugStringW(folded.c_str());
        ::OutputDebugStringW(L"\r\n");
        if (folded == foldedName) {
            match.text = item.text;
            match.found = true;
            match.row = row;
            return match;
        }
    }
    return match;
}

void sendToList(HWND list, UINT message, WPARAM wParam) {
    ::SendMessageW(list, message, wParam, 0);
    ::Sleep(0);
}

}  // namespace

ValueSearchResult selectValueInList(const std::wstring& valueName, const RegeditViews& views, RecordLayout layout,
                                    RemoteBuffers& buffers) {
    ::Sleep(kListSettleMs);
    const std::wstring foldedName = foldToLower(valueName);
    // A click without position hits no item, so the key stays chosen; its send returns once
    // the editor has handled the key's selection, which fills the list that is read next.
    ::SendMessageW(views.tree, WM_MBUTTONDOWN, 0, 0);
    waitForListHeader(views.list);

    ValueSearchResult result;
    const RowMatch match = findRow(views.list, foldedName, layout, buffers);
    if (match.failure) {
        result.outcome = ValueSearch::Failed;
        result.failure = match.failure;
        return result;
    }
    if (!match.found) return result;

    result.rowFound = true;
    result.rowText = match.text;
    result.failure = writeListRecord(buffers, ListItemRecord::stateChange(layout, match.row));
    if (result.failure) {
        result.outcome = ValueSearch::Failed;
        return result;
    }
    ::SendMessageW(views.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(buffers.listItem.address()));
    // The state change alone leaves a row far down a long list out of sight.
    ::SendMessageW(views.list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(match.row), FALSE);
    result.outcome = ValueSearch::Selected;
    return result;
}

// The row was chosen through its state, without input; on the shown window the list then
// gets the click and key release a user's choice would bring, so it takes the row as
// chosen by hand. They cannot move the choice: no position, so no row is hit, and a
// release rather than a press of the arrow key.
void confirmRowChoice(HWND list) {
    sendToList(list, WM_MBUTTONDOWN, 0);
    sendToList(list, WM_KEYUP, VK_LEFT);
    sendToList(list, WM_MBUTTONUP, 0);
}

std::uint32_t finishNotFound(HANDLE editor, const wchar_t* kindWord) {
    ::Sleep(kNotFoundWaitMs);
    if (processHasEnded(editor)) return 0;
    reportError(text::kNotFound, kindWord, text::kNotFoundEnd);
    return ExitFlags::KeyNotFound;
}

}  // namespace hivescout
