#include <cwchar>
#include <iterator>

#include "app/exit_flags.h"
#include "app/report.h"
#include "views/remote_buffers.h"

namespace {

constexpr int kSearchPasses = 20;
constexpr DWORD kPassIntervalMs = 30;
constexpr wchar_t kTreeClass[] = L"SysTreeView32";
constexpr wchar_t kListClass[] = L"SysListView32";

bool hasClass(HWND window, const wchar_t* className) {
    wchar_t name[64] = {};
    const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return length > 0 && ::_wcsicmp(name, className) == 0;
}

// The first list among the siblings that follow the tree. Walked by hand: a class
// search that starts after a window of another class finds nothing on some systems.
HWND findListAfter(HWND tree) {
    for (HWND sibling = ::GetWindow(tree, GW_HWNDNEXT); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT))
        if (hasClass(sibling, kListClass)) return sibling;
    return nullptr;
}

// Each visit looks at all of the window's direct children, so a tree found in an
// earlier window never hides the one of this window.
void findViewsIn(HWND window, RegeditViews& views) {
    views.tree = ::FindWindowExW(window, nullptr, kTreeClass, nullptr);
    views.list = views.tree ? findListAfter(views.tree) : ::FindWindowExW(window, nullptr, kListClass, nullptr);
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

std::uint32_t findRegeditViews(const WindowSet& candidateWindows, RegeditViews& views, HANDLE process,
                               std::size_t /*textCapacity: fixed by kRemoteTextCapacity*/) {
    allocateLocalText();
    for (int pass = 1;; ++pass) {
        for (HWND window : candidateWindows) {
            if (bothFound(views)) break;
            if (editorHasEnded(process)) {
                reportError(L", Regedit terminated unexpectedly before the jump could be completed.");
                return ExitFlags::RegeditTerminated;
            }
            findViewsIn(window, views);
            if ((views.tree || views.list) && !allocateBlocksFor(views, process)) {
                reportError(L", Failed to allocate memory in regedit's address space.");
                return ExitFlags::CommunicationSetupFailed;
            }
        }
        if (bothFound(views)) return 0;
        ::Sleep(kPassIntervalMs);
        if (pass == kSearchPasses) break;
    }
    reportError(L", Failed to find eligible Regedit window", L".");
    return ExitFlags::CommunicationSetupFailed | ExitFlags::NoEligibleWindow;
}
