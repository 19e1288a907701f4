#pragma once
#include <windows.h>
#include <richedit.h>

#include <string>

#include "ui/dialog_window.h"
#include "ui/layout_container.h"

namespace hivescout {

// Shows an RTF document in a rich-edit control laid over the template's edit control,
// in a resizable window; links in the text open with the shell when clicked.
// The rich-edit library must be loaded, so that the window class "RichEdit20W" exists.
class RichTextDialog : public DialogWindow {
public:
    RichTextDialog(std::wstring caption, std::string rtf);

    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    virtual LRESULT onOk() = 0;
    virtual LRESULT onCancel() = 0;
    void onSize() { layout_.relayout(); }
    virtual BOOL onInitDialog();

private:
    LRESULT openLinkOnClick(const ENLINK& link, bool& handled);
    HWND createTextControl();
    void streamTextIn();

    std::wstring caption_;
    std::string rtf_;  // consumed while it is streamed into the control
    HWND textControl_ = nullptr;
    LayoutContainer layout_;
};

class RichUsageDialog : public RichTextDialog {
public:
    using RichTextDialog::RichTextDialog;
    LRESULT onOk() override;
    LRESULT onCancel() override;
    BOOL onInitDialog() override;
};

// Hands the front of the remaining text to the control, at most `wanted` bytes, and
// removes it from the text. 0 bytes once nothing remains, which ends the stream.
LONG takeStreamChunk(std::string& remaining, LPBYTE buffer, LONG wanted);

}  // namespace hivescout
