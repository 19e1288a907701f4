#pragma once
// The usage window's geometry: its size and place, the tab stops of its plain text, and
// the anchoring that keeps its controls at the edges while it is resized.
#include <windows.h>

#include <cstdint>

namespace hivescout {

// Which edges of a control keep their distance to the same edge of its parent.
namespace AnchorFlags {
enum : std::uint32_t { Left = 1, Right = 2, Top = 4, Bottom = 8 };
constexpr std::uint32_t Stretch = Left | Right | Top | Bottom;
constexpr std::uint32_t FollowBottomRight = Right | Bottom;
}  // namespace AnchorFlags

struct AnchoredControl {
    std::uint32_t flags = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t rightMargin = 0;   // parent's right edge minus the control's right edge
    std::int32_t bottomMargin = 0;  // parent's bottom edge minus the control's bottom edge
};

// The anchors of a control with its size and margins taken from the parent's client
// rectangle and the control's rectangle in the parent's client coordinates.
AnchoredControl measuredAnchor(std::uint32_t flags, const RECT& parentClient, const RECT& child);

// Where the control goes after the parent changed size; both rectangles as above. Nothing
// is clamped: a parent smaller than the margins gives a zero or negative width or height.
RECT anchoredRectangle(const AnchoredControl& entry, const RECT& parentClient, RECT child);

// The text window's size: 80 % of the desktop in each direction, cut toward zero.
SIZE eightyPercentOf(const RECT& desktop);

// Top-left corner that centres a window over a reference rectangle, moved back into the
// work area where it would stick out (the left and top edges win over right and bottom).
POINT centredPosition(const RECT& window, const RECT& reference, const RECT& workArea);

// One tab-stop interval for the plain text control: average character width × 400 ÷ the
// pixel width of 100 dialog units.
int tabStopInterval(int averageCharacterWidth, int pixelsPer100DialogUnits);

}  // namespace hivescout
