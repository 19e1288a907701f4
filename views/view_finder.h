#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <set>

namespace hivescout {

// The editor's accepted top-level windows, ascending by handle value.
using WindowSet = std::set<HWND>;

// The editor's key tree and value list; both null until found.
struct RegeditViews {
    HWND tree = nullptr;
    HWND list = nullptr;
};

// Text capacity told to the controls, in UTF-16 units, terminating zero included.
constexpr std::size_t kRemoteTextCapacity = 20480;

// Finds the tree and the list after it in one candidate window, looking again for a while
// when the editor has not made them yet. Returns 0, CommunicationSetupFailed with
// NoEligibleWindow, or RegeditTerminated, having reported any failure.
std::uint32_t findRegeditViews(const WindowSet& candidateWindows, RegeditViews& views, HANDLE process);

}  // namespace hivescout
