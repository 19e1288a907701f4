#pragma once
#include <windows.h>

#include "tools/standin/knobs.h"
#include "tools/standin/standin_channel.h"

// Records every message the tree, the list and the list's header receive, by subclassing
// them, and applies the knobs that act on single messages.
void recordControlMessages(HWND control, standin::Control which, const Knobs& knobs);

// While set, the header answers -1 to HDM_GETITEMCOUNT, as a list still being filled does.
void setListFillPending(bool pending);

// Marks a stretch of the stand-in's own message handling, so that control messages sent
// from inside it are not taken for messages of another thread. Every window procedure of
// the stand-in holds one while it runs.
class DispatchScope {
public:
    DispatchScope() noexcept;
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

    // True when no window procedure of the stand-in is running below this point.
    static bool atTop() noexcept;
};
