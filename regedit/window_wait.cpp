#include "regedit/window_wait.h"

#include "app/exit_flags.h"
#include "views/view_layout.h"

namespace {
const DWORD kWindowWaitMs = 5000;
const DWORD kPollIntervalMs = 50;
const int kChildrenOfMainWindow = 3;
}  // namespace

bool WindowEnumerator::onWindowAccepted(HWND window) {
    windows_.insert(window);
    return true;
}

void WindowEnumerator::clearWindows() { windows_.clear(); }

void WindowEnumerator::enumerate() { ::EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(this)); }

BOOL CALLBACK WindowEnumerator::visitTopLevel(HWND window, LPARAM selfParam) {
    auto* self = reinterpret_cast<WindowEnumerator*>(selfParam);
    self->lastFlags = self->topLevelFilter ? self->topLevelFilter(window, self->topLevelFilterData) : AcceptWindow;
    if (self->lastFlags & AcceptWindow) self->onWindowAccepted(window);
    if (self->lastFlags & EndEnumeration) return FALSE;
    if (self->descend) {
        self->childEnumerationEnded_ = false;
        ::EnumChildWindows(window, visitChild, selfParam);
        if (self->lastFlags & EndEnumeration) return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK WindowEnumerator::visitChild(HWND window, LPARAM selfParam) {
    auto* self = reinterpret_cast<WindowEnumerator*>(selfParam);
    self->lastFlags = self->childFilter ? self->childFilter(window, self->childFilterData) : AcceptWindow;
    if (self->lastFlags & AcceptWindow) self->onWindowAccepted(window);
    return (self->lastFlags & (EndChildEnumeration | EndEnumeration)) ? FALSE : TRUE;
}

std::uint32_t isRegeditMainWindow(HWND window, LONG_PTR processId) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != static_cast<DWORD>(processId)) return 0;
    HWND child = ::GetWindow(window, GW_CHILD);
    for (int reached = 1; child != nullptr; ++reached) {
        if (reached == kChildrenOfMainWindow) return AcceptWindow;
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    // Fewer children: an editor that keeps its views one level deeper still qualifies.
    if (nestedViewsHolder(window)) return AcceptWindow;
    return 0;
}

std::uint32_t waitForRegeditWindow(WindowEnumerator& enumerator, std::uint32_t processId) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        enumerator.topLevelFilter = isRegeditMainWindow;
        enumerator.topLevelFilterData = static_cast<LONG_PTR>(processId);
        enumerator.childFilter = nullptr;
        enumerator.descend = false;
        enumerator.enumerate();
        if (!enumerator.windows().empty()) return 0;

        ::Sleep(kPollIntervalMs);
        if (::WaitForSingleObject(regeditInstance.process, 0) != WAIT_TIMEOUT) {
            DWORD exitCode = 0;
            ::GetExitCodeProcess(regeditInstance.process, &exitCode);
            return ExitFlags::RegeditTerminated;
        }
        if (::GetTickCount() - start >= kWindowWaitMs) return 0;
    }
}
