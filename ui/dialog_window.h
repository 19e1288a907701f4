#pragma once
#include <windows.h>

namespace hivescout {

// The window framework under the text dialogs: binds a dialog object to its window on the
// first message, dispatches messages to the object, and reflects the notifications that
// controls send to their parent back to the sending control (number + OCM__BASE).
class DialogWindow {
public:
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Message dispatch. Returns whether the message was handled; result is what the
    // message returns.
    virtual bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    virtual ~DialogWindow() = default;

    // Shows the dialog template modally. Returns what the dialog was ended with, or -1
    // when it cannot be created (last error 14 when the run could not be prepared).
    INT_PTR runModal(HWND owner, int templateId);

    HWND window() const { return window_; }

protected:
    // Sends a control's notification back to the control; false when none takes it.
    bool reflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK staticDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DialogWindow* boundObject(HWND window, UINT message);

    HWND window_ = nullptr;
    bool bound_ = false;
};

// The control that a parent notification came from, or null when the message is not one
// that is reflected.
HWND reflectionTarget(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Messages whose result a dialog procedure returns directly instead of through DWLP_MSGRESULT.
bool returnsResultDirectly(UINT message);

}  // namespace hivescout
