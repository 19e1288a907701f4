#pragma once
#include <windows.h>

#include <cstdint>

namespace hivescout {

// Which edges of a control keep their distance to the same edge of its parent.
namespace AnchorFlags {
enum : std::uint32_t {
    Left = 1,
    Right = 2,
    Top = 4,
    Bottom = 8,
    // Either one makes registration take the size and margins as given.
    Preset64 = 64,
    Preset128 = 128,
    Stretch = Left | Right | Top | Bottom,  // 15
    FollowBottomRight = Right | Bottom,     // 10
};
}

struct AnchoredControl {
    HWND child = nullptr;
    HWND parent = nullptr;
    std::uint32_t flags = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t rightMargin = 0;   // parent's right edge minus the control's right edge
    std::int32_t bottomMargin = 0;  // parent's bottom edge minus the control's bottom edge
};

// Whether registration keeps the entry's size and margins instead of measuring them.
bool keepsPresetGeometry(const AnchoredControl& entry);

// Size and margins of a child from its and its parent's window rectangles (same coordinates).
void measureAnchoredControl(AnchoredControl& entry, const RECT& parentWindow, const RECT& childWindow);

// Where the child goes after the parent changed size. Both rectangles are in the parent's
// client coordinates; parentWindow is the parent's whole window rectangle there. Nothing is
// clamped: a parent smaller than the margins gives a zero or negative width or height.
RECT anchoredRectangle(const AnchoredControl& entry, const RECT& parentWindow, RECT child);

}  // namespace hivescout
