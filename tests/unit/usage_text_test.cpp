#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"
#include "ui/dialog_window.h"
#include "ui/rich_text_dialog.h"
#include "ui/usage_text.h"
#include "ui/window_geometry.h"

using namespace hivescout;

namespace {

const std::string kRichSample = "{\\rtf1 {\\i Hivescout.exe -JumpTo=x}\\par Hivescout.exe | more\\par}";

std::string substituteRich(const std::wstring& fileName, const std::string& text = kRichSample) {
    return substituteProgramName(text, kStoredProgramName, richFileNameReplacement(fileName));
}

// Group depth after the whole text, counting only unescaped braces; -1 when it closes too early.
int finalGroupDepth(const std::string& rtf) {
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') { ++i; continue; }
        if (rtf[i] == '{') ++depth;
        if (rtf[i] == '}' && --depth < 0) return -1;
    }
    return depth;
}

}  // namespace

TEST(UsageTitle, HasTwoBlanksBeforeTheBitness) {
    EXPECT_EQ(L"Hivescout  64 Bit Usage Information", usageTitle());
}

TEST(FileNameSubstitution, PlainAsciiNameReplacesEveryPlace) {
    EXPECT_EQ("{\\rtf1 {\\i scout.exe -JumpTo=x}\\par scout.exe | more\\par}", substituteRich(L"scout.exe"));
}

TEST(FileNameSubstitution, NameWithBlankIsQuoted) {
    EXPECT_EQ("{\\rtf1 {\\i \"my scout.exe\" -JumpTo=x}\\par \"my scout.exe\" | more\\par}",
              substituteRich(L"my scout.exe"));
    EXPECT_EQ(L"\"my scout.exe\"", plainFileNameReplacement(L"my scout.exe"));
    EXPECT_EQ(L"scout.exe", plainFileNameReplacement(L"scout.exe"));
}

TEST(FileNameSubstitution, NameHoldingThePatternIsInsertedOncePerPlace) {
    const std::string result = substituteRich(L"xHivescout.exe");
    EXPECT_EQ("{\\rtf1 {\\i xHivescout.exe -JumpTo=x}\\par xHivescout.exe | more\\par}", result);
}

TEST(FileNameSubstitution, TextWithoutThePatternIsUnchanged) {
    const std::wstring plain = L"\xFEFF\t\t%HIVESCOUT% <switches list>\r\n";
    EXPECT_EQ(plain, substituteProgramName(plain, kStoredProgramNameWide, plainFileNameReplacement(L"a b.exe")));
}

TEST(FileNameSubstitution, PatternIsCaseSensitive) {
    EXPECT_EQ("hivescout.exe HIVESCOUT.EXE", substituteRich(L"new.exe", "hivescout.exe HIVESCOUT.EXE"));
}

TEST(FileNameSubstitution, ReplacementEndsAtItsFirstNulAndNoPlaceIsSkipped) {
    const std::string replacement("ab\0Hivescout.exe", 16);
    EXPECT_EQ("[ab][ab]", substituteProgramName(std::string("[Hivescout.exe][Hivescout.exe]"), kStoredProgramName,
                                                replacement));
}

TEST(RtfFileName, BracesAndBackslashesAreEscaped) {
    EXPECT_EQ("a\\{b\\}\\\\c.exe", richFileNameReplacement(L"a{b}\\c.exe"));
}

TEST(RtfFileName, ControlWordsInTheNameStayText) {
    const std::string result = substituteRich(L"}\\b0{\\par x.exe");
    EXPECT_EQ(0, finalGroupDepth(result));
    EXPECT_NE(std::string::npos, result.find("\\}\\\\b0\\{\\\\par"));
    EXPECT_EQ(std::string::npos, result.find("}\\b0{"));
}

TEST(RtfFileName, CharactersOutsideAsciiBecomeUnicodeEscapes) {
    EXPECT_EQ("sc\\u233?ne.exe", richFileNameReplacement(L"sc\u00E9ne.exe"));
    EXPECT_EQ("\\u1093?\\u1072?.exe", richFileNameReplacement(L"\u0445\u0430.exe"));
    // Above U+7FFF the code unit is written as a signed 16-bit number.
    EXPECT_EQ("\\u-28729?.exe", richFileNameReplacement(L"\u8FC7.exe"));
    // A code unit whose low byte is zero is kept whole instead of ending the name.
    EXPECT_EQ("\\u256?x.exe", richFileNameReplacement(L"\u0100x.exe"));
    // Surrogate pairs: one escape per code unit, as RTF readers expect.
    EXPECT_EQ("\\u-10179?\\u-8704?.exe", richFileNameReplacement(L"\xD83D\xDE00.exe"));
}

TEST(RtfFileName, NonAsciiNameWithBlankIsQuotedAndBalanced) {
    const std::string result = substituteRich(L"\u00FCber {scout}.exe");
    EXPECT_EQ(0, finalGroupDepth(result));
    EXPECT_NE(std::string::npos, result.find("\"\\u252?ber \\{scout\\}.exe\""));
}

TEST(WindowGeometry, EightyPercentIsCutTowardZero) {
    const SIZE size = eightyPercentOf(RECT{0, 0, 1280, 1023});
    EXPECT_EQ(1024, size.cx);
    EXPECT_EQ(818, size.cy);  // 818.4
}

TEST(WindowGeometry, CentresInTheWorkArea) {
    const RECT area{0, 0, 1280, 984};
    const POINT corner = centredPosition(RECT{0, 0, 1024, 819}, area, area);
    EXPECT_EQ(128, corner.x);
    EXPECT_EQ(82, corner.y);
}

TEST(WindowGeometry, CentringStaysInsideTheWorkAreaLeftAndTopWinning) {
    const RECT area{0, 40, 800, 600};
    const RECT owner{600, 500, 800, 600};
    const POINT pushedBack = centredPosition(RECT{0, 0, 300, 200}, owner, area);
    EXPECT_EQ(500, pushedBack.x);
    EXPECT_EQ(400, pushedBack.y);
    const POINT tooBig = centredPosition(RECT{0, 0, 1000, 900}, area, area);
    EXPECT_EQ(0, tooBig.x);
    EXPECT_EQ(40, tooBig.y);
}

TEST(WindowGeometry, TabStopIntervalFromCharacterWidthAndDialogUnits) {
    EXPECT_EQ(32, tabStopInterval(8, 100));
    EXPECT_EQ(21, tabStopInterval(8, 150));
    EXPECT_EQ(28, tabStopInterval(7, 0));  // a refused mapping counts as 100
}

TEST(RichTextStream, HandsOutTheTextInChunksThenNothing) {
    std::string text = "{\\rtf1 abc}";
    unsigned char buffer[8] = {};
    EXPECT_EQ(4, takeStreamChunk(text, buffer, 4));
    EXPECT_EQ(0, std::string(reinterpret_cast<char*>(buffer), 4).compare("{\\rt"));
    EXPECT_EQ(7, takeStreamChunk(text, buffer, 8));
    EXPECT_EQ(0, takeStreamChunk(text, buffer, 8));
}

TEST(Reflection, ControlNotificationsGoBackToTheControl) {
    HWND control = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x4242));
    EXPECT_EQ(control, reflectionTarget(nullptr, WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(control)));
    EXPECT_EQ(control, reflectionTarget(nullptr, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(control)));
    EXPECT_EQ(control, reflectionTarget(nullptr, WM_COMMAND, MAKEWPARAM(IDC_TEXT_AREA, EN_CHANGE),
                                        reinterpret_cast<LPARAM>(control)));
    NMHDR header{control, 0, 0};
    EXPECT_EQ(control, reflectionTarget(nullptr, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)));
    // A menu command and a click seen by the parent carry no control.
    EXPECT_EQ(nullptr, reflectionTarget(nullptr, WM_COMMAND, 2, 0));
    EXPECT_EQ(nullptr, reflectionTarget(nullptr, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(10, 10)));
    EXPECT_EQ(nullptr, reflectionTarget(nullptr, WM_SIZE, 0, reinterpret_cast<LPARAM>(control)));
    EXPECT_TRUE(returnsResultDirectly(WM_CTLCOLOREDIT));
    EXPECT_FALSE(returnsResultDirectly(WM_NOTIFY));
}
