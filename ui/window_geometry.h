#pragma once
#include <windows.h>

namespace hivescout {

// The text window's size: 80 % of the desktop in each direction, cut toward zero.
SIZE eightyPercentOf(const RECT& desktop);

// Top-left corner that centres a window over a reference rectangle, moved back into the
// work area where it would stick out (the left and top edges win over right and bottom).
POINT centredPosition(const RECT& window, const RECT& reference, const RECT& workArea);

// One tab-stop interval for the plain text control: average character width × 400 ÷ the
// pixel width of 100 dialog units.
int tabStopInterval(int averageCharacterWidth, int pixelsPer100DialogUnits);

}  // namespace hivescout
