#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_texts.h"
#include "views/remote_buffers.h"
#include "views/view_layout.h"

namespace hivescout {

namespace {

constexpr int kSearchPasses = 20;
constexpr DWORD kPassIntervalMs = 30;

// Each visit looks at all of the window's direct children, so a tree found in an
// earlier window never hides the one of this window. Only when they do not hold both
// views is the window's view holder searched, for editors that nest their views.
void findViewsIn(HWND window, RegeditViews& views) {
    views = viewsAmongChildrenOf(window);
    if (views.tree && views.list) return;
    if (const HWND holder = nestedViewsHolder(window)) {
        const RegeditViews nested = viewsAmongChildrenOf(holder);
        if (nested.tree && nested.list) views = nested;
    }
}

// Blocks already held are kept, so a later visit that finds controls again reuses them.
bool allocateBlocksFor(const RegeditViews& views, HANDLE process) {
    remoteBuffers.process = process;
    if (!remoteBuffers.text.allocate(process, kTextBlockUnits * sizeof(wchar_t))) return false;
    if (views.tree && !remoteBuffers.treeItem.allocate(process, kTreeItemRecordSize)) return false;
    if (views.list && !remoteBuffers.listItem.allocate(process, kListItemRecordSize)) return false;
    return true;
}

bool bothFound(const RegeditViews& views) { return views.tree && views.list; }

}  // namespace

std::uint32_t findRegeditViews(const WindowSet& candidateWindows, RegeditViews& views, HANDLE process) {
    allocateLocalText();
    for (int pass = 1;; ++pass) {
        for (HWND window : candidateWindows) {
            if (bothFound(views)) break;
            if (editorHasEnded(process)) {
                reportError(text::kEditorEndedDuringJump);
                return ExitFlags::RegeditTerminated;
            }
            findViewsIn(window, views);
            if ((views.tree || views.list) && !allocateBlocksFor(views, process)) {
                reportError(text::kRemoteAllocationFailed);
                return ExitFlags::CommunicationSetupFailed;
            }
        }
        if (bothFound(views)) return 0;
        ::Sleep(kPassIntervalMs);
        if (pass == kSearchPasses) break;
    }
    reportError(text::kNoEditorWindow);
    return ExitFlags::CommunicationSetupFailed | ExitFlags::NoEligibleWindow;
}

}  // namespace hivescout
