#include "ui/usage.h"

#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/exit_flags.h"
#include "base/handle.h"
#include "base/report.h"
#include "base/report_texts.h"
#include "ui/anchor_layout.h"
#include "ui/usage_text.h"

namespace hivescout {

namespace {

// The usage window: the dialog template IDD_TEXT_WINDOW, shown modally, with its text either
// as UTF-16 in the template's own edit control (read-only by its style) or as RTF in a
// rich-edit control laid over that control's rectangle, whose links open when clicked. The
// buttons and the text follow the window's edges while it is resized. One run's state is
// the dialog's DWLP_USER from WM_INITDIALOG on.
struct UsageDialog {
    std::wstring caption;
    std::wstring plainText;
    std::string rtf;  // consumed while it is streamed into the control
    bool rich = false;
    HWND window = nullptr;
    struct Anchored {
        HWND control;
        AnchoredControl anchor;
    };
    std::vector<Anchored> anchored;  // the two buttons and the text
    UniqueFont plainFont;
};

// Borderless: the rich text lies flat where the template's hidden edit control would be.
constexpr DWORD kRichTextStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY;

HINSTANCE programModule() { return ::GetModuleHandleW(nullptr); }

RECT clientRectangle(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    return rect;
}

RECT rectangleInClient(HWND control, HWND dialog) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

DWORD CALLBACK streamChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    std::string& remaining = *reinterpret_cast<std::string*>(cookie);
    const std::size_t count =
        remaining.copy(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(std::max<LONG>(wanted, 0)));
    remaining.erase(0, count);
    *given = static_cast<LONG>(count);
    return 0;
}

void setWindowIcons(HWND dialog) {
    HICON icon = ::LoadIconW(programModule(), MAKEINTRESOURCEW(IDI_HIVESCOUT));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

// 80 % of the desktop, centred over a visible, not minimised owner, else over the work area.
void sizeAndCentre(HWND dialog) {
    RECT desktop{}, workArea{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const SIZE size = eightyPercentOf(desktop);
    RECT reference = workArea;
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &reference);
    const POINT corner = centredPosition(RECT{0, 0, size.cx, size.cy}, reference, workArea);
    // Not SWP_NOACTIVATE: the window opens active, with the focus on its Exit button.
    ::SetWindowPos(dialog, nullptr, corner.x, corner.y, size.cx, size.cy, SWP_NOZORDER);
}

int averageCharacterWidth(HWND control, HFONT font) {
    const UniqueWindowDc dc(WindowDc{control, ::GetDC(control)});
    if (!dc) return 0;
    const UniqueSelection selected(Selection{dc.get().dc, ::SelectObject(dc.get().dc, font)});
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get().dc, &metrics);
    return metrics.tmAveCharWidth;
}

// Asked of the control, not of the dialog, the mapping is refused and 100 dialog units
// count as 100 pixels: the tab stops the window has always had.
int pixelsPer100DialogUnits(HWND control) {
    RECT rect{0, 0, 100, 0};
    ::MapDialogRect(control, &rect);
    return rect.right - rect.left;
}

std::wstring textOfRange(HWND control, CHARRANGE range) {
    std::wstring text(static_cast<std::size_t>(std::max<LONG>(range.cpMax - range.cpMin, 0)) + 1, L'\0');
    TEXTRANGEW request{range, &text[0]};
    ::SendMessageW(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&request));
    return text.c_str();
}

HWND showPlainText(HWND dialog, const std::wstring& plainText) {
    HWND text = ::GetDlgItem(dialog, IDC_TEXT_AREA);
    if (!::SetDlgItemTextW(dialog, IDC_TEXT_AREA, plainText.c_str())) {
        ::MessageBeep(0xFFFFFFFF);
        ::SetFocus(text);
    }
    ::ShowWindow(text, SW_SHOW);
    return text;
}

// Created over the template's edit control, which stays hidden. When the control cannot be
// created the window opens without a text and with a working Exit button.
HWND showRichText(HWND dialog, std::string& rtf) {
    const RECT area = rectangleInClient(::GetDlgItem(dialog, IDC_TEXT_AREA), dialog);
    HWND text =
        ::CreateWindowExW(0, L"RichEdit20W", L"text_window", kRichTextStyle, area.left, area.top,
                          area.right - area.left, area.bottom - area.top, dialog, nullptr, programModule(), nullptr);
    if (!text) return nullptr;
    ::SendMessageW(text, EM_AUTOURLDETECT, TRUE, 0);
    const LRESULT mask = ::SendMessageW(text, EM_GETEVENTMASK, 0, 0);
    ::SendMessageW(text, EM_SETEVENTMASK, 0, mask | ENM_LINK);
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    stream.pfnCallback = &streamChunk;
    ::SendMessageW(text, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return text;
}

// The plain text a quarter larger than the dialog's font.
void scalePlainFont(HWND text, UniqueFont& font) {
    if (!text) return;
    LOGFONTW description{};
    auto current = reinterpret_cast<HFONT>(::SendMessageW(text, WM_GETFONT, 0, 0));
    ::GetObjectW(current ? static_cast<HGDIOBJ>(current) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(description),
                 &description);
    description.lfHeight = static_cast<LONG>(description.lfHeight * 1.25);
    font.reset(::CreateFontIndirectW(&description));
    ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    int interval = tabStopInterval(averageCharacterWidth(text, font.get()), pixelsPer100DialogUnits(text));
    ::SendMessageW(text, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&interval));
}

void openLinkOnClick(HWND dialog, const ENLINK& link) {
    if (link.msg != WM_LBUTTONDOWN) return;
    const std::wstring target = textOfRange(link.nmhdr.hwndFrom, link.chrg);
    if (target.empty()) return;
    ::ShellExecuteW(dialog, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SetFocus(dialog);
}

void anchor(UsageDialog& dialog, HWND control, std::uint32_t flags) {
    if (control)
        dialog.anchored.push_back({control, measuredAnchor(flags, clientRectangle(dialog.window),
                                                           rectangleInClient(control, dialog.window))});
}

void relayout(const UsageDialog& dialog) {
    const RECT client = clientRectangle(dialog.window);
    for (const UsageDialog::Anchored& entry : dialog.anchored) {
        const RECT to = anchoredRectangle(entry.anchor, client, rectangleInClient(entry.control, dialog.window));
        ::SetWindowPos(entry.control, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top, SWP_NOZORDER);
        ::InvalidateRect(entry.control, nullptr, TRUE);
    }
}

void initialise(UsageDialog& dialog) {
    HWND window = dialog.window;
    ::SetWindowTextW(window, dialog.caption.c_str());
    setWindowIcons(window);
    anchor(dialog, ::GetDlgItem(window, IDOK), AnchorFlags::FollowBottomRight);
    anchor(dialog, ::GetDlgItem(window, IDCANCEL), AnchorFlags::FollowBottomRight);
    anchor(dialog, dialog.rich ? showRichText(window, dialog.rtf) : showPlainText(window, dialog.plainText),
           AnchorFlags::Stretch);
    // The template's "Close" button becomes "Exit"; the other one is not used.
    ::SetDlgItemTextW(window, IDCANCEL, L"Exit");
    ::ShowWindow(::GetDlgItem(window, IDOK), SW_HIDE);
    sizeAndCentre(window);
    if (!dialog.rich) scalePlainFont(::GetDlgItem(window, IDC_TEXT_AREA), dialog.plainFont);
}

INT_PTR handle(UsageDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: initialise(dialog); return TRUE;  // the focus goes to the first tab stop, the Exit button
    case WM_COMMAND:
        // The Exit button, the Escape key and the close box all arrive as IDCANCEL.
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        ::EndDialog(dialog.window, LOWORD(wParam));
        return TRUE;
    case WM_SIZE: relayout(dialog); return TRUE;
    case WM_CTLCOLORSTATIC:
        // A read-only edit control asks for grey; the text stays on the window's colour.
        if (reinterpret_cast<HWND>(lParam) != ::GetDlgItem(dialog.window, IDC_TEXT_AREA)) return FALSE;
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_WINDOW));
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == EN_LINK)
            openLinkOnClick(dialog.window, *reinterpret_cast<const ENLINK*>(lParam));
        return FALSE;  // 0 either way: the control goes on with the mouse message itself
    default: return FALSE;
    }
}

// Messages before WM_INITDIALOG (the size changes of the window's creation among them) find
// no object yet and get the default processing.
INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<UsageDialog*>(lParam)->window = window;
    }
    auto* dialog = reinterpret_cast<UsageDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    return dialog ? handle(*dialog, message, wParam, lParam) : FALSE;
}

std::uint32_t reportResourceStage(const wchar_t* stage) {
    return SystemError().reportNumber(ExitFlags::ResourceExtractionFailed, stage, text::kResourceError);
}

std::uint32_t usageWindowFailed(std::uint32_t flags) {
    reportFailures(ExitFlags::UsageWindowFailed);
    return flags | ExitFlags::UsageWindowFailed;
}

// The dialog ends with IDOK or IDCANCEL, or with -1 when it could not be created.
std::uint32_t runUsageDialog(UsageDialog& dialog) {
    const INT_PTR ended = ::DialogBoxParamW(programModule(), MAKEINTRESOURCEW(IDD_TEXT_WINDOW), ::GetActiveWindow(),
                                            &dialogProcedure, reinterpret_cast<LPARAM>(&dialog));
    return ended == -1 ? usageWindowFailed(0) : 0;
}

}  // namespace

std::uint32_t readResourceData(std::vector<char>& buffer, WORD id, const wchar_t* type, HMODULE module) {
    if (!module) module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return reportResourceStage(text::kResourceFindFailed);
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) return reportResourceStage(text::kResourceLoadFailed);
    const void* bytes = ::LockResource(loaded);
    if (!bytes) return reportResourceStage(text::kResourceLockFailed);
    const DWORD size = ::SizeofResource(module, found);
    const char* first = static_cast<const char*>(bytes);
    buffer.insert(buffer.end(), first, first + size);
    return 0;
}

std::uint32_t showRichUsage(const std::wstring& programFileName) {
    std::vector<char> buffer;
    if (const std::uint32_t failed = readResourceData(buffer, IDR_USAGE_RICH, USAGE_RESOURCE_TYPE_NAME))
        return usageWindowFailed(failed);
    std::string text = substituteProgramName(std::string(buffer.begin(), buffer.end()), kStoredProgramName,
                                             richFileNameReplacement(programFileName));
    text.resize(std::min(text.size(), text.find('\0')));
    UsageDialog dialog;
    dialog.caption = usageTitle();
    dialog.rtf = std::move(text);
    dialog.rich = true;
    return runUsageDialog(dialog);
}

std::uint32_t showPlainUsage(const std::wstring& programFileName) {
    std::vector<char> buffer;
    if (const std::uint32_t failed = readResourceData(buffer, IDR_USAGE_PLAIN, USAGE_RESOURCE_TYPE_NAME))
        return usageWindowFailed(failed);
    std::wstring text(buffer.size() / 2, L'\0');
    if (!text.empty()) std::memcpy(&text[0], buffer.data(), text.size() * sizeof(wchar_t));
    text = substituteProgramName(std::move(text), kStoredProgramNameWide, plainFileNameReplacement(programFileName));
    text.resize(std::min(text.size(), text.find(L'\0')));
    UsageDialog dialog;
    dialog.caption = usageTitle();
    dialog.plainText = std::move(text);
    return runUsageDialog(dialog);
}

}  // namespace hivescout
