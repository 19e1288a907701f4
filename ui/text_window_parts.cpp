#include "ui/text_window_parts.h"

#include "ui/window_geometry.h"
#include "ui/window_module.h"

namespace hivescout {

void setWindowIcons(HWND dialog) {
    HICON icon = ::LoadIconW(windowModuleInstance(), MAKEINTRESOURCEW(IDI_HIVESCOUT));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void registerIfPresent(LayoutContainer& layout, HWND dialog, HWND control, std::uint32_t flags) {
    if (!control) return;
    AnchoredControl entry;
    entry.child = control;
    entry.parent = dialog;
    entry.flags = flags;
    layout.registerControl(entry);
}

void registerItemIfPresent(LayoutContainer& layout, HWND dialog, int id, std::uint32_t flags) {
    registerIfPresent(layout, dialog, ::GetDlgItem(dialog, id), flags);
}

void resizeToEightyPercentOfDesktop(HWND dialog) {
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    const SIZE size = eightyPercentOf(desktop);
    ::SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

void centreInWorkArea(HWND dialog) {
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT window{};
    ::GetWindowRect(dialog, &window);
    RECT reference = workArea;
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &reference);
    const POINT corner = centredPosition(window, reference, workArea);
    ::SetWindowPos(dialog, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void showOnlyExitButton(HWND dialog) {
    if (HWND exitButton = ::GetDlgItem(dialog, IDCANCEL)) {
        ::SetWindowTextW(exitButton, L"Exit");
        ::ShowWindow(exitButton, SW_SHOW);
        ::EnableWindow(exitButton, TRUE);
    }
    if (HWND other = ::GetDlgItem(dialog, IDOK)) ::ShowWindow(other, SW_HIDE);
}

}  // namespace hivescout
