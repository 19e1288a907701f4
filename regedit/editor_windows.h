#pragma once
#include <windows.h>

#include <cstdint>

#include "regedit/regedit_instance.h"
#include "views/view_finder.h"

namespace hivescout {

// Collects the main windows of one editor process, ascending by handle value.
class WindowEnumerator {
public:
    // One pass over all top-level windows.
    void enumerate(std::uint32_t processId);
    const WindowSet& windows() const { return windows_; }

private:
    static BOOL CALLBACK visitTopLevel(HWND window, LPARAM self);
    std::uint32_t processId_ = 0;
    WindowSet windows_;
};

// A window of the wanted process with at least three direct children, or with a direct
// child that holds both a tree and a list.
bool isRegeditMainWindow(HWND window, std::uint32_t processId);

constexpr std::uint32_t kWindowWaitMs = 5000;

// Collects the editor's main windows within 5000 ms, polling every 50 ms. Returns 0 (the
// caller tells success from time-out by the set) or RegeditTerminated when the editor ended.
std::uint32_t waitForRegeditWindow(WindowEnumerator& enumerator, const RegeditInstance& editor);

// Un-minimises the editor's main window (the one that holds the tree, directly or through
// an inner window) and brings it to the foreground, without waiting for the editor.
void restoreRegeditWindow(HWND tree);

}  // namespace hivescout
