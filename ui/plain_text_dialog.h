#pragma once
#include <windows.h>

#include <string>

#include "ui/dialog_window.h"
#include "base/handle.h"
#include "ui/layout_container.h"
#include "ui/read_only_text_hook.h"

namespace hivescout {

// Shows a UTF-16 text in the template's own edit control, read-only, in a resizable window.
class PlainTextDialog : public DialogWindow {
public:
    PlainTextDialog(std::wstring caption, std::wstring text);

    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    virtual LRESULT onOk() = 0;
    virtual LRESULT onCancel() = 0;
    void onSize() { layout_.relayout(); }
    // Scales the text control's font; FALSE when the control is missing.
    BOOL setTextScale(double factor);
    virtual BOOL onInitDialog();

private:
    void putTextIntoControl();

    std::wstring caption_;
    std::wstring text_;
    ReadOnlyTextHook readOnlyHook_;
    UniqueFont scaledFont_;
    LayoutContainer layout_;
};

class PlainUsageDialog : public PlainTextDialog {
public:
    using PlainTextDialog::PlainTextDialog;
    LRESULT onOk() override;
    LRESULT onCancel() override;
    BOOL onInitDialog() override;
};

}  // namespace hivescout
