#include "views/tree_walk.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "base/exit_flags.h"
#include "base/report.h"
#include "views/key_path.h"
#include "base/text_folding.h"
#include "base/report_texts.h"
#include "views/value_list.h"

namespace hivescout {

namespace {

// Null as well when the tree gave no answer.
HTREEITEM nextItem(RemoteBuffers& buffers, HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        buffers.messages.send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)).value_or(0));
}

struct ChildMatch {
    HTREEITEM item = nullptr;
    std::wstring_view text;  // as the tree shows it; valid until the next exchange
    std::uint32_t failure = 0;
};

// Scans the siblings from first on. An item the tree will not describe is passed over:
// the text block still holds the previous item's text.
ChildMatch findSibling(HWND tree, HTREEITEM first, const std::wstring& foldedName, TreeItemRecord& record,
                       RemoteBuffers& buffers) {
    ChildMatch match;
    for (HTREEITEM item = first; item; item = nextItem(buffers, tree, TVGN_NEXT, item)) {
        record.setItem(reinterpret_cast<std::uintptr_t>(item));
        const ItemText text = queryItemText(buffers, tree, record);
        if (text.failure) {
            match.failure = text.failure;
            return match;
        }
        if (text.answer != 0 && equalsFolded(text.text, foldedName)) {
            match.item = item;
            match.text = text.text;
            return match;
        }
    }
    return match;
}

// Hidden while it expands, so a large key does not repaint row by row.
void selectAndExpand(HWND tree, HTREEITEM item, EditorMessenger& messages) {
    messages.send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    messages.show(tree, SW_HIDE);
    messages.send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    messages.show(tree, SW_SHOW);
}

struct WalkResult {
    std::optional<std::wstring_view> missingRest;  // from the first key name no key has; nothing when all matched
    std::uint32_t failure = 0;
};

// The tree items matched are appended to passedPath.
WalkResult walkKeyPath(HWND tree, const PreparedPath& prepared, JumpKind kind, TreeItemRecord& record,
                       RemoteBuffers& buffers, std::wstring& passedPath) {
    WalkResult result;
    HTREEITEM current = nextItem(buffers, tree, TVGN_ROOT, nullptr);
    KeyLevels levels(prepared.keys, kind);
    for (;;) {
        current = nextItem(buffers, tree, TVGN_CHILD, current);
        const std::optional<KeyLevel> level = levels.next();
        if (!level) return result;

        const ChildMatch match = findSibling(tree, current, foldToLower(std::wstring(level->name)), record, buffers);
        if (match.failure) {
            result.failure = match.failure;
            return result;
        }
        if (!match.item) {
            result.missingRest = level->rest;
            return result;
        }
        passedPath.append(match.text);
        passedPath.push_back(L'\\');
        selectAndExpand(tree, match.item, buffers.messages);
        // A key wins over a value of the same name.
        if (level->isLast) return result;
        current = match.item;
    }
}

// The input a user's click after choosing the key would bring, so the editor takes the key
// as chosen by hand. It cannot change the choice: it carries no position, so no item is
// hit, and the middle button starts no label edit, drag or menu. Each send returns only once the editor's interface thread has handled
// it, so the walk ends only after the editor is through with the selection sent before.
void clickTree(HWND tree, EditorMessenger& messages) {
    messages.send(tree, WM_MBUTTONDOWN);
    ::Sleep(0);
    messages.send(tree, WM_MBUTTONUP);
}

void finishOnKey(HWND tree, JumpKind kind, JumpOutcome& outcome, EditorMessenger& messages) {
    clickTree(tree, messages);
    if (kind == JumpKind::KeyOrValue) outcome.kindWord = text::kKindKey;
}

// The names are looked for one after the other, until a row carries one.
void finishOnValue(const std::vector<std::wstring>& valueNames, const RegeditViews& views, RecordLayout layout,
                   RemoteBuffers& buffers, WalkOutcome& outcome) {
    ValueSearchResult search;
    for (const std::wstring& valueName : valueNames) {
        search = selectValueInList(valueName, views, layout, buffers);
        if (search.outcome != ValueSearch::NotFound || buffers.messages.unanswered()) break;
    }
    if (search.rowFound) {
        outcome.jump.kindWord = text::kKindValue;
        outcome.jump.passedPath.append(search.rowText);
    }
    switch (search.outcome) {
    case ValueSearch::Selected: outcome.rowChosen = true; return;
    case ValueSearch::Failed: outcome.jump.flags = search.failure; return;
    case ValueSearch::NotFound: break;
    }
    outcome.jump.flags = finishNotFound(buffers, outcome.jump.kindWord);
}

// The walk and the selection; a message that got no answer ends them early.
WalkOutcome walkAndSelect(std::wstring targetPath, const RegeditViews& views, JumpKind kind, RecordLayout layout,
                          RemoteBuffers& buffers) {
    WalkOutcome outcome;
    JumpOutcome& jump = outcome.jump;
    jump.kindWord = kindWordFor(kind);
    const PreparedPath prepared = prepareJumpPath(std::move(targetPath), kind);
    if (prepared.valueMissing) {
        reportError(text::kValueNameMissing);
        jump.flags = ExitFlags::ValueNotFound;
        return outcome;
    }
    TreeItemRecord record(layout, buffers.text.remoteAddress());

    const WalkResult walk = walkKeyPath(views.tree, prepared, kind, record, buffers, jump.passedPath);
    if (walk.failure || buffers.messages.unanswered()) {
        jump.flags = walk.failure;
        return outcome;
    }

    const std::vector<std::wstring> valueNames = valueNamesToLookFor(prepared, kind, walk.missingRest);
    if (!valueNames.empty()) {
        finishOnValue(valueNames, views, layout, buffers, outcome);
        return outcome;
    }
    if (!walk.missingRest) {
        finishOnKey(views.tree, kind, jump, buffers.messages);
        return outcome;
    }
    clickTree(views.tree, buffers.messages);
    jump.flags = finishNotFound(buffers, jump.kindWord);
    return outcome;
}

}  // namespace

const wchar_t* kindWordFor(JumpKind kind) {
    switch (kind) {
    case JumpKind::Key: return text::kKindKey;
    case JumpKind::Value: return text::kKindValue;
    default: return text::kKindKeyOrValue;
    }
}

WalkOutcome jumpInRegeditViews(std::wstring targetPath, const RegeditViews& views, JumpKind kind, RecordLayout layout,
                               RemoteBuffers& buffers) {
    WalkOutcome outcome = walkAndSelect(std::move(targetPath), views, kind, layout, buffers);
    if (const HWND silent = buffers.messages.unanswered()) {
        outcome.jump.flags = unansweredFlags(silent == views.tree);
        outcome.rowChosen = false;
    }
    return outcome;
}

}  // namespace hivescout
