#include <gtest/gtest.h>

#include "tests/support/hivescout_run.h"

namespace {

bool isTimestamp(const std::wstring& text) {
    if (text.size() != 19) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool digit = c >= L'0' && c <= L'9';
        if (i == 4 || i == 7) { if (c != L'-') return false; }
        else if (i == 10) { if (c != L'T') return false; }
        else if (i == 13 || i == 16) { if (c != L':') return false; }
        else if (!digit) return false;
    }
    return true;
}

void expectStartAndEndLines(const HivescoutRun& run) {
    ASSERT_GE(run.outputLines.size(), 2u);
    const std::wstring pid = std::to_wstring(run.process.processId);
    const std::wstring start = L"Hivescout, Biuld 1.0.1.14, 64 Bit, with process ID " + pid + L" started on: ";
    ASSERT_EQ(start, run.outputLines.front().substr(0, start.size()));
    EXPECT_TRUE(isTimestamp(run.outputLines.front().substr(start.size())));
    const std::wstring end = L"Hivescout with process ID " + pid + L" ended on: ";
    ASSERT_EQ(end, run.outputLines.back().substr(0, end.size()));
    EXPECT_TRUE(isTimestamp(run.outputLines.back().substr(end.size())));
}

}  // namespace

TEST(Spine, EmptyJumpToValueReportsTheMissingValue) {
    const HivescoutRun run = runHivescout(L"-jumptovalue=");
    ASSERT_TRUE(run.process.started);
    EXPECT_EQ(524288u, run.exitCode());
    expectStartAndEndLines(run);
    EXPECT_EQ(2u, run.outputLines.size());
    const std::vector<std::wstring> expected = {L", Error code returned is: 0x80000",
                                                L", User did not specify a value to jump to."};
    EXPECT_EQ(expected, run.errorMessages());
    EXPECT_EQ(L"(Error) Process ID: " + std::to_wstring(run.process.processId), run.errorLines[0].substr(0, 20 + std::to_wstring(run.process.processId).size()));
}

TEST(Spine, PathOfBlanksAndBackslashesIsAMissingKeyOrValue) {
    const HivescoutRun run = runHivescout(L"\" \\ \\\\\" \\");
    EXPECT_EQ(524304u, run.exitCode());
    expectStartAndEndLines(run);
    const std::vector<std::wstring> expected = {L", Error code returned is: 0x80010",
                                                L", User did not specify a key/value to jump to."};
    EXPECT_EQ(expected, run.errorMessages());
}

TEST(Spine, EmptyJumpToKeyGivesSixteen) {
    const HivescoutRun run = runHivescout(L"-jumptokey= -tb");
    EXPECT_EQ(16u, run.exitCode());
    const std::vector<std::wstring> expected = {L", Error code returned is: 0x10",
                                                L", User did not specify a key to jump to."};
    EXPECT_EQ(expected, run.errorMessages());
}

TEST(Spine, OutputIsTextModeLines) {
    const HivescoutRun run = runHivescout(L"-jumpto=");
    bool textMode = false;
    splitReportLines(run.process.standardOutput, &textMode);
    EXPECT_TRUE(textMode);
    splitReportLines(run.process.standardError, &textMode);
    EXPECT_TRUE(textMode);
}
