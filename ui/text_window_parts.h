#pragma once
#include <windows.h>

#include "ui/layout_container.h"

// Steps shared by the plain and the rich text dialog.

namespace TextWindowIds {
constexpr int Template = 101;
constexpr int TextArea = 1003;
constexpr int Icon = 133;
}  // namespace TextWindowIds

void setWindowIcons(HWND dialog);

// Registers a control with the container when it exists.
void registerIfPresent(LayoutContainer& layout, HWND dialog, HWND control, std::uint32_t flags);
void registerItemIfPresent(LayoutContainer& layout, HWND dialog, int id, std::uint32_t flags);

// Resizes the window to 80 % of the desktop, keeping its position and z-order.
void resizeToEightyPercentOfDesktop(HWND dialog);

// Centres the window over a visible, not minimised owner, else over the work area.
void centreInWorkArea(HWND dialog);

// Labels the visible button "Exit" and hides the other one.
void showOnlyExitButton(HWND dialog);
