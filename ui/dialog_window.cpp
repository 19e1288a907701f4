#include "ui/dialog_window.h"

#include "ui/window_module.h"

namespace hivescout {

namespace {

constexpr UINT kReflectionBase = 0x2000;  // OCM__BASE

bool isColourMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

HWND itemWindow(HWND dialog, WPARAM id) { return ::GetDlgItem(dialog, static_cast<int>(id)); }

}  // namespace

HWND reflectionTarget(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isColourMessage(message)) return reinterpret_cast<HWND>(lParam);
    switch (message) {
        case WM_COMMAND:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
            return reinterpret_cast<HWND>(lParam);
        case WM_NOTIFY:
            return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
        case WM_PARENTNOTIFY: {
            const UINT event = LOWORD(wParam);
            // Only creation and destruction carry the child's handle; clicks carry a point.
            return (event == WM_CREATE || event == WM_DESTROY) ? reinterpret_cast<HWND>(lParam) : nullptr;
        }
        case WM_DRAWITEM:
            return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        case WM_COMPAREITEM:
            return lParam ? reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        case WM_DELETEITEM:
            return lParam ? reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        case WM_MEASUREITEM:
            return lParam ? itemWindow(dialog, reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlID) : nullptr;
        default:
            return nullptr;
    }
}

bool returnsResultDirectly(UINT message) {
    return isColourMessage(message) || message == WM_INITDIALOG || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON;
}

bool DialogWindow::reflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND control = reflectionTarget(window_, message, wParam, lParam);
    if (!control || control == window_ || !::IsWindow(control)) return false;
    result = ::SendMessageW(control, message + kReflectionBase, wParam, lParam);
    return result != 0;
}

INT_PTR DialogWindow::runModal(HWND owner, int templateId) {
    bound_ = false;
    if (!announceDialog(this)) {
        ::SetLastError(ERROR_OUTOFMEMORY);
        return -1;
    }
    const INT_PTR ended = ::DialogBoxParamW(windowModuleInstance(), MAKEINTRESOURCEW(templateId), owner,
                                            &DialogWindow::staticDialogProcedure, 0);
    // A dialog that never got a message leaves its announcement behind.
    if (!bound_) takeAnnouncedDialog();
    return ended;
}

DialogWindow* DialogWindow::boundObject(HWND window, UINT message) {
    auto* dialog = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (dialog || message == WM_NCDESTROY) return dialog;
    dialog = takeAnnouncedDialog();
    if (dialog) {
        dialog->window_ = window;
        dialog->bound_ = true;
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    }
    return dialog;
}

INT_PTR CALLBACK DialogWindow::staticDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogWindow* dialog = boundObject(window, message);
    if (!dialog) return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->window_ = nullptr;
        return FALSE;
    }
    LRESULT result = 0;
    if (!dialog->handleMessage(message, wParam, lParam, result)) return FALSE;
    if (returnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace hivescout
