#include "ui/anchor_layout.h"

namespace hivescout {

namespace {

LONG width(const RECT& rect) { return rect.right - rect.left; }
LONG height(const RECT& rect) { return rect.bottom - rect.top; }

// Start of a span of the given length centred over [low, high), kept inside [areaLow, areaHigh).
LONG centredStart(LONG length, LONG low, LONG high, LONG areaLow, LONG areaHigh) {
    LONG start = low + ((high - low) - length) / 2;
    if (start + length > areaHigh) start = areaHigh - length;
    if (start < areaLow) start = areaLow;
    return start;
}

}  // namespace

SIZE eightyPercentOf(const RECT& desktop) {
    return SIZE{static_cast<LONG>(width(desktop) * 0.8), static_cast<LONG>(height(desktop) * 0.8)};
}

POINT centredPosition(const RECT& window, const RECT& reference, const RECT& workArea) {
    return POINT{centredStart(width(window), reference.left, reference.right, workArea.left, workArea.right),
                 centredStart(height(window), reference.top, reference.bottom, workArea.top, workArea.bottom)};
}

int tabStopInterval(int averageCharacterWidth, int pixelsPer100DialogUnits) {
    if (pixelsPer100DialogUnits <= 0) pixelsPer100DialogUnits = 100;
    return averageCharacterWidth * 400 / pixelsPer100DialogUnits;
}

AnchoredControl measuredAnchor(std::uint32_t flags, const RECT& parentClient, const RECT& child) {
    return AnchoredControl{flags, width(child), height(child), parentClient.right - child.right,
                           parentClient.bottom - child.bottom};
}

RECT anchoredRectangle(const AnchoredControl& entry, const RECT& parentClient, RECT child) {
    if (entry.flags & AnchorFlags::Right) child.right = parentClient.right - entry.rightMargin;
    if (!(entry.flags & AnchorFlags::Left)) child.left = child.right - entry.width;
    if (entry.flags & AnchorFlags::Bottom) child.bottom = parentClient.bottom - entry.bottomMargin;
    if (!(entry.flags & AnchorFlags::Top)) child.top = child.bottom - entry.height;
    return child;
}

}  // namespace hivescout
