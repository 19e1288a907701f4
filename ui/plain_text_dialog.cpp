#include "ui/plain_text_dialog.h"

#include "ui/anchor_layout.h"
#include "ui/text_window_parts.h"
#include "ui/window_geometry.h"

namespace hivescout {

namespace {

int averageCharacterWidth(HWND control, HFONT font) {
    const UniqueWindowDc dc(WindowDc{control, ::GetDC(control)});
    if (!dc) return 0;
    const UniqueSelection selected(Selection{dc.get().dc, ::SelectObject(dc.get().dc, font)});
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get().dc, &metrics);
    return metrics.tmAveCharWidth;
}

// Pixels of 100 horizontal dialog units for the control; 100 when the mapping is refused.
int pixelsPer100DialogUnits(HWND control) {
    RECT rect{0, 0, 100, 0};
    ::MapDialogRect(control, &rect);
    return rect.right - rect.left;
}

}  // namespace

PlainTextDialog::PlainTextDialog(std::wstring caption, std::wstring text)
    : caption_(std::move(caption)), text_(std::move(text)) {}

bool PlainTextDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (dispatchCommonDialogMessage(*this, message, wParam, result)) return true;
    return reflectNotification(message, wParam, lParam, result);
}

void PlainTextDialog::putTextIntoControl() {
    if (!::SetDlgItemTextW(window(), IDC_TEXT_AREA, text_.c_str())) {
        ::MessageBeep(0xFFFFFFFF);
        ::SetFocus(::GetDlgItem(window(), IDC_TEXT_AREA));
    }
}

BOOL PlainTextDialog::onInitDialog() {
    HWND dialog = window();
    HWND textArea = ::GetDlgItem(dialog, IDC_TEXT_AREA);
    readOnlyHook_.attach(textArea);
    ::SetWindowTextW(dialog, caption_.c_str());
    putTextIntoControl();
    setWindowIcons(dialog);
    registerItemIfPresent(layout_, dialog, IDOK, AnchorFlags::FollowBottomRight);
    registerItemIfPresent(layout_, dialog, IDCANCEL, AnchorFlags::FollowBottomRight);
    registerIfPresent(layout_, dialog, textArea, AnchorFlags::Stretch);
    ::ShowWindow(textArea, SW_SHOW);
    resizeToEightyPercentOfDesktop(dialog);
    return TRUE;
}

BOOL PlainTextDialog::setTextScale(double factor) {
    if (factor == 1.0) return TRUE;
    HWND textArea = ::GetDlgItem(window(), IDC_TEXT_AREA);
    if (!textArea) return FALSE;
    LOGFONTW description{};
    auto current = reinterpret_cast<HFONT>(::SendMessageW(textArea, WM_GETFONT, 0, 0));
    ::GetObjectW(current ? static_cast<HGDIOBJ>(current) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(description),
                 &description);
    description.lfHeight = static_cast<LONG>(description.lfHeight * factor);
    scaledFont_.reset();
    scaledFont_.reset(::CreateFontIndirectW(&description));
    ::SendMessageW(textArea, WM_SETFONT, reinterpret_cast<WPARAM>(scaledFont_.get()), TRUE);

    int interval = tabStopInterval(averageCharacterWidth(textArea, scaledFont_.get()),
                                   pixelsPer100DialogUnits(textArea));
    ::SendMessageW(textArea, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&interval));
    return TRUE;
}

LRESULT PlainUsageDialog::onOk() {
    ::EndDialog(window(), IDOK);
    return 1;
}

LRESULT PlainUsageDialog::onCancel() {
    ::EndDialog(window(), IDCANCEL);
    return 1;
}

BOOL PlainUsageDialog::onInitDialog() {
    PlainTextDialog::onInitDialog();
    showOnlyExitButton(window());
    centreInWorkArea(window());
    setTextScale(1.25);
    return TRUE;
}

}  // namespace hivescout
