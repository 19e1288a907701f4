#include "regedit/window_wait.h"

#include "base/exit_flags.h"
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

std::uint32_t waitForRegeditWindow(WindowEnumerator& enumerator, std::uint32_t processId, HANDLE process) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        enumerator.enumerate(processId);
        if (!enumerator.windows().empty()) return 0;

        ::Sleep(kPollIntervalMs);
        if (::WaitForSingleObject(process, 0) != WAIT_TIMEOUT) return ExitFlags::RegeditTerminated;
        if (::GetTickCount() - start >= kWindowWaitMs) return 0;
    }
}

}  // namespace hivescout
