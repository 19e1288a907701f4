#pragma once
#include <windows.h>

#include <cstdint>

#include "regedit/regedit_instance.h"

// Filter flags: accept the window; stop enumerating the current window's children;
// stop the whole enumeration.
enum WindowFilterFlags : std::uint32_t {
    AcceptWindow = 1,
    EndChildEnumeration = 2,
    EndEnumeration = 4,
};

using WindowFilter = std::uint32_t (*)(HWND window, LONG_PTR filterData);

// Enumerates the top-level windows (and, on request, their children) through filters
// and collects the accepted windows in an ordered set.
class WindowEnumerator {
public:
    WindowFilter topLevelFilter = nullptr;
    WindowFilter childFilter = nullptr;
    bool descend = false;
    std::uint32_t lastFlags = 0;
    LONG_PTR topLevelFilterData = 0;
    LONG_PTR childFilterData = 0;

    virtual ~WindowEnumerator() = default;
    virtual bool onWindowAccepted(HWND window);
    virtual void clearWindows();

    // One pass over all top-level windows.
    void enumerate();
    const WindowSet& windows() const { return windows_; }

private:
    static BOOL CALLBACK visitTopLevel(HWND window, LPARAM self);
    static BOOL CALLBACK visitChild(HWND window, LPARAM self);
    bool childEnumerationEnded_ = false;
    WindowSet windows_;
};

// Accepts a window of the wanted process with at least three direct children, or with a
// direct child that holds both a tree and a list.
std::uint32_t isRegeditMainWindow(HWND window, LONG_PTR processId);

// Collects the editor's main windows within 5000 ms, polling every 50 ms. Returns 0 (the
// caller tells success from time-out by the set) or 33554432 when the editor ended.
std::uint32_t waitForRegeditWindow(WindowEnumerator& enumerator, std::uint32_t processId);

// Frees the remote blocks and closes the editor's handles; a second call does nothing.
void releaseRegedit();

// The same for the termination path: closes handles only, frees no memory.
void releaseRegeditWithoutFreeing() noexcept;
