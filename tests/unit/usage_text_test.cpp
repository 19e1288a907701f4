#include <gtest/gtest.h>

#include <string>

#include "ui/usage_text.h"
#include "ui/anchor_layout.h"

using namespace hivescout;

TEST(FileNameSubstitution, EveryPlaceOnceQuotedWhenBlankAndEscapedForRtf) {
    const std::string sample = "{\\rtf1 {\\i Hivescout.exe -JumpTo=x}\\par Hivescout.exe | more\\par}";
    // A plain name is the end-to-end test's.
    const std::pair<const wchar_t*, const char*> rows[] = {
        {L"my scout.exe", "\"my scout.exe\""},
        {L"xHivescout.exe", "xHivescout.exe"},  // a name holding the pattern goes in once per place
        {L"}\\b0{\\par x.exe", "\"\\}\\\\b0\\{\\\\par x.exe\""},
        {L"\u0100x.exe", "\\u256?x.exe"},                  // a zero low byte does not end the name
        {L"\xD83D\xDE00.exe", "\\u-10179?\\u-8704?.exe"},  // one escape per code unit, signed above U+7FFF
        {L"\u00FCber {scout}.exe", "\"\\u252?ber \\{scout\\}.exe\""}};
    for (const auto& [fileName, shown] : rows)
        EXPECT_EQ("{\\rtf1 {\\i " + std::string(shown) + " -JumpTo=x}\\par " + shown + " | more\\par}",
                  substituteProgramName(sample, kStoredProgramName, richFileNameReplacement(fileName)));
    // The pattern is case-sensitive; a text without it is unchanged.
    const std::string otherCase = "hivescout.exe HIVESCOUT.EXE";
    EXPECT_EQ(otherCase, substituteProgramName(otherCase, kStoredProgramName, std::string("new.exe")));
    // A replacement ends at its first NUL, and no place is skipped.
    EXPECT_EQ("[ab][ab]", substituteProgramName(std::string("[Hivescout.exe][Hivescout.exe]"), kStoredProgramName,
                                                std::string("ab\0Hivescout.exe", 16)));
}

// The plain text's tab stops: four average characters when the mapping is refused, as for the text.
TEST(WindowGeometry, TabStopsOfThePlainText) {
    EXPECT_EQ(32, tabStopInterval(8, 100));
    EXPECT_EQ(21, tabStopInterval(8, 150));
    EXPECT_EQ(28, tabStopInterval(7, 0));
}
