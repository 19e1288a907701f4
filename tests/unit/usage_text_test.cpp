#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"
#include "ui/dialog_window.h"
#include "ui/usage_text.h"
#include "ui/window_geometry.h"

using namespace hivescout;

namespace {

std::string substituteRich(const std::wstring& fileName, const std::string& text) {
    return substituteProgramName(text, kStoredProgramName, richFileNameReplacement(fileName));
}

}  // namespace

TEST(FileNameSubstitution, EveryPlaceOnceQuotedWhenBlankAndEscapedForRtf) {
    const std::string sample = "{\\rtf1 {\\i Hivescout.exe -JumpTo=x}\\par Hivescout.exe | more\\par}";
    const struct {
        const wchar_t* fileName;
        const char* shown;
    } rows[] = {{L"scout.exe", "scout.exe"},
                {L"my scout.exe", "\"my scout.exe\""},
                {L"xHivescout.exe", "xHivescout.exe"},  // a name holding the pattern goes in once per place
                {L"}\\b0{\\par x.exe", "\"\\}\\\\b0\\{\\\\par x.exe\""},
                {L"sc\u00E9ne.exe", "sc\\u233?ne.exe"},
                {L"\u8FC7.exe", "\\u-28729?.exe"},      // above U+7FFF as a signed 16-bit number
                {L"\u0100x.exe", "\\u256?x.exe"},       // a zero low byte does not end the name
                {L"\xD83D\xDE00.exe", "\\u-10179?\\u-8704?.exe"},  // one escape per code unit
                {L"\u00FCber {scout}.exe", "\"\\u252?ber \\{scout\\}.exe\""}};
    for (const auto& row : rows)
        EXPECT_EQ("{\\rtf1 {\\i " + std::string(row.shown) + " -JumpTo=x}\\par " + row.shown + " | more\\par}",
                  substituteRich(row.fileName, sample));
    EXPECT_EQ(L"\"my scout.exe\"", plainFileNameReplacement(L"my scout.exe"));
    EXPECT_EQ(L"scout.exe", plainFileNameReplacement(L"scout.exe"));
    // The pattern is case-sensitive; a text without it is unchanged.
    EXPECT_EQ("hivescout.exe HIVESCOUT.EXE", substituteRich(L"new.exe", "hivescout.exe HIVESCOUT.EXE"));
    const std::wstring plain = L"\xFEFF\t\t%HIVESCOUT% <switches list>\r\n";
    EXPECT_EQ(plain, substituteProgramName(plain, kStoredProgramNameWide, plainFileNameReplacement(L"a b.exe")));
    // A replacement ends at its first NUL, and no place is skipped.
    EXPECT_EQ("[ab][ab]", substituteProgramName(std::string("[Hivescout.exe][Hivescout.exe]"), kStoredProgramName,
                                                std::string("ab\0Hivescout.exe", 16)));
}

// The size and the centring on the screen are the end-to-end tests'.
TEST(WindowGeometry, CentredOnTheOwnerInsideTheWorkAreaLeftAndTopWinning) {
    const RECT area{0, 0, 1280, 984}, shifted{0, 40, 800, 600}, owner{600, 500, 800, 600};
    const struct {
        RECT window, owner, area;
        LONG x, y;
    } rows[] = {{{0, 0, 1024, 819}, area, area, 128, 82},
                {{0, 0, 300, 200}, owner, shifted, 500, 400},
                {{0, 0, 1000, 900}, shifted, shifted, 0, 40}};
    for (const auto& row : rows) {
        const POINT corner = centredPosition(row.window, row.owner, row.area);
        EXPECT_TRUE(row.x == corner.x && row.y == corner.y) << corner.x << ", " << corner.y;
    }
    EXPECT_EQ(32, tabStopInterval(8, 100));
    EXPECT_EQ(21, tabStopInterval(8, 150));
    EXPECT_EQ(28, tabStopInterval(7, 0));  // a refused mapping counts as 100
}

TEST(Reflection, ControlNotificationsGoBackToTheControl) {
    HWND control = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x4242));
    const LPARAM fromControl = reinterpret_cast<LPARAM>(control);
    NMHDR header{control, 0, 0};
    for (const auto& [message, wParam, lParam] : {std::tuple{WM_CTLCOLOREDIT, WPARAM{0}, fromControl},
                                                   std::tuple{WM_COMMAND, WPARAM{MAKEWPARAM(IDC_TEXT_AREA, EN_CHANGE)}, fromControl},
                                                   std::tuple{WM_NOTIFY, WPARAM{0}, reinterpret_cast<LPARAM>(&header)}})
        EXPECT_EQ(control, reflectionTarget(nullptr, message, wParam, lParam)) << message;
    // A menu command and a click seen by the parent carry no control.
    EXPECT_EQ(nullptr, reflectionTarget(nullptr, WM_COMMAND, 2, 0));
    EXPECT_EQ(nullptr, reflectionTarget(nullptr, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(10, 10)));
    EXPECT_EQ(nullptr, reflectionTarget(nullptr, WM_SIZE, 0, fromControl));
    EXPECT_TRUE(returnsResultDirectly(WM_CTLCOLOREDIT));
    EXPECT_FALSE(returnsResultDirectly(WM_NOTIFY));
}
