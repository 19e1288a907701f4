#include "views/view_finder.h"

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_texts.h"
#include "base/handle.h"
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

bool bothFound(const RegeditViews& views) { return views.tree && views.list; }

}  // namespace

std::uint32_t findRegeditViews(const WindowSet& candidateWindows, RegeditViews& views, HANDLE process) {
    for (int pass = 1;; ++pass) {
        for (HWND window : candidateWindows) {
            if (bothFound(views)) break;
            if (processHasEnded(process)) {
                reportError(text::kEditorEndedDuringJump);
                return ExitFlags::RegeditTerminated;
            }
            findViewsIn(window, views);
        }
        if (bothFound(views)) return 0;
        ::Sleep(kPassIntervalMs);
        if (pass == kSearchPasses) break;
    }
    reportError(text::kNoEditorWindow);
    return ExitFlags::CommunicationSetupFailed | ExitFlags::NoEligibleWindow;
}

}  // namespace hivescout
