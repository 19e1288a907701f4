#include "ui/window_geometry.h"

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

}  // namespace hivescout
