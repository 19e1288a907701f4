#include "ui/rich_text_dialog.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/anchor_layout.h"
#include "ui/text_window_parts.h"
#include "ui/window_module.h"

namespace hivescout {

namespace {

constexpr DWORD kTextControlStyle = 0x50210804;  // child, visible, vscroll, tabstop, multiline, read-only

DWORD CALLBACK streamCallback(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    *given = takeStreamChunk(*reinterpret_cast<std::string*>(cookie), buffer, wanted);
    return 0;
}

RECT clientRectangleOf(HWND control, HWND dialog) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring textOfRange(HWND control, const CHARRANGE& range) {
    CHARRANGE saved{};
    ::SendMessageW(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&saved));
    CHARRANGE link = range;
    ::SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&link));
    const LONG length = std::max<LONG>(range.cpMax - range.cpMin, 0);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
    ::SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&saved));
    return buffer.data();
}

}  // namespace

LONG takeStreamChunk(std::string& remaining, LPBYTE buffer, LONG wanted) {
    const std::size_t count = std::min(remaining.size(), static_cast<std::size_t>(std::max<LONG>(wanted, 0)));
    if (count) std::memcpy(buffer, remaining.data(), count);
    remaining.erase(0, count);
    return static_cast<LONG>(count);
}

RichTextDialog::RichTextDialog(std::wstring caption, std::string rtf)
    : caption_(std::move(caption)), rtf_(std::move(rtf)) {}

bool RichTextDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (dispatchCommonDialogMessage(*this, message, wParam, result)) return true;
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == EN_LINK) {
        bool handled = false;
        result = openLinkOnClick(*reinterpret_cast<const ENLINK*>(lParam), handled);
        if (handled) return true;
    }
    return reflectNotification(message, wParam, lParam, result);
}

HWND RichTextDialog::createTextControl() {
    HWND dialog = window();
    HWND placeholder = ::GetDlgItem(dialog, IDC_TEXT_AREA);
    RECT area{};
    if (placeholder) {
        ::ShowWindow(placeholder, SW_HIDE);
        area = clientRectangleOf(placeholder, dialog);
    }
    return ::CreateWindowExW(0, L"RichEdit20W", L"text_window", kTextControlStyle, area.left, area.top,
                             area.right - area.left, area.bottom - area.top, dialog, nullptr,
                             windowModuleInstance(), nullptr);
}

void RichTextDialog::streamTextIn() {
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf_);
    stream.pfnCallback = &streamCallback;
    ::SendMessageW(textControl_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

BOOL RichTextDialog::onInitDialog() {
    HWND dialog = window();
    ::SetWindowTextW(dialog, caption_.c_str());
    setWindowIcons(dialog);
    registerItemIfPresent(layout_, dialog, IDOK, AnchorFlags::FollowBottomRight);
    registerItemIfPresent(layout_, dialog, IDCANCEL, AnchorFlags::FollowBottomRight);
    textControl_ = createTextControl();
    if (textControl_) {
        registerIfPresent(layout_, dialog, textControl_, AnchorFlags::Stretch);
        ::SendMessageW(textControl_, EM_AUTOURLDETECT, TRUE, 0);
        const LRESULT mask = ::SendMessageW(textControl_, EM_GETEVENTMASK, 0, 0);
        ::SendMessageW(textControl_, EM_SETEVENTMASK, 0, mask | ENM_LINK);
        streamTextIn();
    }
    resizeToEightyPercentOfDesktop(dialog);
    return TRUE;
}

// The result is always 0, so that the control goes on with the mouse message itself.
LRESULT RichTextDialog::openLinkOnClick(const ENLINK& link, bool& handled) {
    handled = false;
    if (link.msg == WM_LBUTTONDOWN) {
        const std::wstring target = textOfRange(link.nmhdr.hwndFrom, link.chrg);
        if (!target.empty()) {
            ::ShellExecuteW(window(), L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
            ::SetFocus(window());
            handled = true;
        }
    } else if (link.msg == WM_LBUTTONUP) {
        handled = true;
    }
    return 0;
}

LRESULT RichUsageDialog::onOk() {
    ::EndDialog(window(), IDOK);
    return 1;
}

LRESULT RichUsageDialog::onCancel() {
    ::EndDialog(window(), IDCANCEL);
    return 1;
}

BOOL RichUsageDialog::onInitDialog() {
    RichTextDialog::onInitDialog();
    showOnlyExitButton(window());
    centreInWorkArea(window());
    return TRUE;
}

}  // namespace hivescout
