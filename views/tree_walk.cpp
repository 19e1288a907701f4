#include "views/tree_walk.h"

#include <windows.h>
#include <commctrl.h>

#include "base/exit_flags.h"
#include "base/report.h"
#include "views/key_path.h"
#include "base/text_folding.h"
#include "base/report_texts.h"
#include "views/remote_buffers.h"
#include "views/value_list.h"

namespace hivescout {

namespace {

HTREEITEM nextItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

struct ChildMatch {
    HTREEITEM item = nullptr;
    std::wstring_view text;  // as the tree shows it; valid until the next exchange
    std::uint32_t failure = 0;
};

// Scans the siblings from first on. An item the tree will not describe is passed over:
// the text block still holds the previous item's text.
ChildMatch findSibling(HWND tree, HTREEITEM first, const std::wstring& foldedName, TreeItemRecord& record) {
    ChildMatch match;
    for (HTREEITEM item = first; item; item = nextItem(tree, TVGN_NEXT, item)) {
        record.setItem(reinterpret_cast<std::uintptr_t>(item));
        const ItemText text = queryItemText(tree, record);
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
void selectAndExpand(HWND tree, HTREEITEM item) {
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ::ShowWindow(tree, SW_HIDE);
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    ::ShowWindow(tree, SW_SHOW);
}

struct WalkResult {
    WalkEnd end = WalkEnd::NotFound;
    std::uint32_t failure = 0;
};

WalkResult walkKeyPath(HWND tree, const PreparedPath& prepared, JumpKind kind, std::wstring& valueName,
                       TreeItemRecord& record) {
    WalkResult result;
    HTREEITEM current = nextItem(tree, TVGN_ROOT, nullptr);
    KeyLevels levels(prepared.keys, kind);
    for (;;) {
        current = nextItem(tree, TVGN_CHILD, current);
        const std::optional<KeyLevel> level = levels.next();
        if (!level) {
            result.end = WalkEnd::Reached;
            return result;
        }
        if (kind == JumpKind::KeyOrValue) valueName.assign(level->rest);

        const ChildMatch match = findSibling(tree, current, foldToLower(std::wstring(level->name)), record);
        if (match.failure) {
            result.failure = match.failure;
            return result;
        }
        if (!match.item) {
            result.end = walkEndWhenMissing(kind, level->isLast);
            return result;
        }
        passedPath.append(match.text);
        passedPath.push_back(L'\\');
        selectAndExpand(tree, match.item);
        if (level->isLast) {
            // A key wins over a value of the same name.
            if (kind == JumpKind::KeyOrValue) valueName.clear();
            result.end = WalkEnd::Reached;
            return result;
        }
        current = match.item;
    }
}

// The input a user's click after choosing the key would bring, so the editor takes the key
// as chosen by hand. It cannot change the choice: it carries no position, so no item is
// hit, and the middle button starts no label edit, drag or menu. Each send returns only once the editor's interface thread has handled
// it, so the walk ends only after the editor is through with the selection sent before.
void clickTree(HWND tree) {
    ::SendMessageW(tree, WM_MBUTTONDOWN, 0, 0);
    ::Sleep(0);
    ::SendMessageW(tree, WM_MBUTTONUP, 0, 0);
}

std::uint32_t finishOnKey(HWND tree, JumpKind kind) {
    clickTree(tree);
    if (kind == JumpKind::KeyOrValue) targetKindWord = text::kKindKey;
    restoreRegeditWindow(tree);
    return 0;
}

std::uint32_t finishOnValue(const std::wstring& valueName, const RegeditViews& views, RecordLayout layout) {
    const ValueSearchResult search = selectValueInList(valueName, views, layout);
    switch (search.outcome) {
    case ValueSearch::Selected:
        return 0;
    case ValueSearch::Failed:
        return search.failure;
    case ValueSearch::NotFound:
        break;
    }
    return finishNotFound(views.tree);
}

}  // namespace

std::uint32_t jumpInRegeditViews(std::wstring targetPath, const RegeditViews& views, JumpKind kind,
                                 RecordLayout layout) {
    const PreparedPath prepared = prepareJumpPath(std::move(targetPath), kind);
    if (prepared.valueMissing) {
        reportError(text::kValueNameMissing);
        return ExitFlags::ValueNotFound;
    }
    TreeItemRecord record(layout, remoteBuffers.text.remoteAddress());

    std::wstring valueName = prepared.valueName;
    const WalkResult walk = walkKeyPath(views.tree, prepared, kind, valueName, record);
    if (walk.failure) return walk.failure;

    switch (finishAfterWalk(walk.end, kind, valueName)) {
    case WalkFinish::Key:
        return finishOnKey(views.tree, kind);
    case WalkFinish::ValueSearch:
        return finishOnValue(valueName, views, layout);
    case WalkFinish::NotFound:
        break;
    }
    clickTree(views.tree);
    return finishNotFound(views.tree);
}

}  // namespace hivescout
