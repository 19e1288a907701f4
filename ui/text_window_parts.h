#pragma once
#include <windows.h>

#include "resources/resource_ids.h"
#include "ui/layout_container.h"

namespace hivescout {

// Steps shared by the plain and the rich text dialog.

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

// The messages both text dialogs handle alike, first in their dispatch: the two buttons,
// size changes and initialisation. Returns false for any other message.
template <typename TextDialog>
bool dispatchCommonDialogMessage(TextDialog& dialog, UINT message, WPARAM wParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) { result = dialog.onOk(); return true; }
            if (LOWORD(wParam) == IDCANCEL) { result = dialog.onCancel(); return true; }
            return false;
        case WM_SIZE:
            dialog.onSize();
            result = 0;
            return true;
        case WM_INITDIALOG:
            result = dialog.onInitDialog();
            return true;
        default:
            return false;
    }
}

}  // namespace hivescout
