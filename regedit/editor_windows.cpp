#include "regedit/editor_windows.h"

#include "base/exit_flags.h"
#include "regedit/regedit_instance.h"
#include "views/view_layout.h"

namespace hivescout {

namespace {
const DWORD kPollIntervalMs = 50;
const int kChildrenOfMainWindow = 3;
}  // namespace

void WindowEnumerator::enumerate(std::uint32_t processId) {
    processId_ = processId;
    ::EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK WindowEnumerator::visitTopLevel(HWND window, LPARAM selfParam) {
    auto* self = reinterpret_cast<WindowEnumerator*>(selfParam);
    if (isRegeditMainWindow(window, self->processId_)) self->windows_.insert(window);
    return TRUE;
}

bool isRegeditMainWindow(HWND window, std::uint32_t processId) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != processId) return false;
    HWND child = ::GetWindow(window, GW_CHILD);
    for (int reached = 1; child != nullptr; ++reached) {
        if (reached == kChildrenOfMainWindow) return true;
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    // Fewer children: an editor that keeps its views one level deeper still qualifies.
    return nestedViewsHolder(window) != nullptr;
}

std::uint32_t waitForRegeditWindow(WindowEnumerator& enumerator, const RegeditInstance& editor) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        enumerator.enumerate(editor.processId);
        if (!enumerator.windows().empty()) return 0;

        ::Sleep(kPollIntervalMs);
        if (editorHasEnded(editor)) return ExitFlags::RegeditTerminated;
        if (::GetTickCount() - start >= kWindowWaitMs) return 0;
    }
}

// The main window: the tree's parent, or the window above it when the editor keeps its
// views in an inner window. A restore or a raise of another thread's window waits for that
// thread to handle it, so both are handed over to it instead; reading the placement and
// the activation never wait.
void restoreRegeditWindow(HWND tree) {
    const HWND window = ::GetAncestor(tree, GA_ROOT);
    if (!window) return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::GetWindowPlacement(window, &placement) &&
        (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE))
        ::ShowWindowAsync(window, SW_RESTORE);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    ::SetForegroundWindow(window);
}

}  // namespace hivescout
