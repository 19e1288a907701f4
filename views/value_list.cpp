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
void waitForListHeader(HWND list, EditorMessenger& messages) {
    messages.send(list, LVM_GETITEMCOUNT);
    const HWND header = reinterpret_cast<HWND>(messages.send(list, LVM_GETHEADER).value_or(0));
    if (!header) return;
    for (int polls = 1; polls <= kHeaderPolls; ++polls) {
        const std::optional<LRESULT> columns = messages.send(header, HDM_GETITEMCOUNT);
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

void sendToList(HWND list, UINT message, WPARAM wParam, EditorMessenger& messages) {
    messages.send(list, message, wParam);
    ::Sleep(0);
}

}  // namespace

ValueSearchResult selectValueInList(const std::wstring& valueName, const RegeditViews& views, RecordLayout layout,
                                    RemoteBuffers& buffers) {
    ::Sleep(kListSettleMs);
    const std::wstring foldedName = foldToLower(valueName);
    // A click without position hits no item, so the key stays chosen; its send returns once
    // the editor has handled the key's selection, which fills the list that is read next.
    buffers.messages.send(views.tree, WM_MBUTTONDOWN);
    waitForListHeader(views.list, buffers.messages);

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
    buffers.messages.send(views.list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(buffers.listItem.address()));
    // The state change alone leaves a row far down a long list out of sight.
    buffers.messages.send(views.list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(match.row), FALSE);
    result.outcome = buffers.messages.unanswered() ? ValueSearch::Failed : ValueSearch::Selected;
    return result;
}

// The row was chosen through its state, without input; on the shown window the list then
// gets the click and key release a user's choice would bring, so it takes the row as
// chosen by hand. They cannot move the choice: no position, so no row is hit, and a
// release rather than a press of the arrow key.
void confirmRowChoice(HWND list, EditorMessenger& messages) {
    sendToList(list, WM_MBUTTONDOWN, 0, messages);
    sendToList(list, WM_KEYUP, VK_LEFT, messages);
    sendToList(list, WM_MBUTTONUP, 0, messages);
}

std::uint32_t finishNotFound(const RemoteBuffers& buffers, const wchar_t* kindWord) {
    // An editor that did not answer is named by the caller instead.
    if (buffers.messages.unanswered()) return 0;
    ::Sleep(kNotFoundWaitMs);
    if (processHasEnded(buffers.process())) return 0;
    reportError(text::kNotFound, kindWord, text::kNotFoundEnd);
    return ExitFlags::KeyNotFound;
}

}  // namespace hivescout
