#include <gtest/gtest.h>

#include "tests/support/hivescout_run.h"

namespace {

bool startsWith(const std::wstring& text, const std::wstring& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

TEST(LogFile, ReplacesTheFileAndTakesEveryLineInOrder) {
    const std::wstring log = temporaryPath(L"hivescout e2e.log");
    writeFileBytes(log, "old contents\r\n");
    const HivescoutRun run = runHivescout(L"\"-logtofile= " + log + L" \" -jumptovalue=");
    EXPECT_EQ(524288u, run.exitCode());
    EXPECT_EQ("", run.process.standardOutput);
    EXPECT_EQ("", run.process.standardError);

    bool textMode = false;
    const auto lines = splitReportLines(readFileBytes(log), &textMode);
    EXPECT_TRUE(textMode);
    ASSERT_EQ(3u, lines.size());
    const std::wstring pid = std::to_wstring(run.process.processId);
    EXPECT_TRUE(startsWith(lines[0], L"Hivescout, Biuld 1.0.1.14, 64 Bit, with process ID " + pid + L" started on: "));
    // No hexadecimal line while logging to a file.
    EXPECT_EQ(L"(Error) Process ID: " + pid + L", User did not specify a value to jump to.", lines[1]);
    EXPECT_TRUE(startsWith(lines[2], L"Hivescout with process ID " + pid + L" ended on: "));
    ::DeleteFileW(log.c_str());
}

TEST(LogFile, AppendKeepsEarlierContents) {
    const std::wstring log = temporaryPath(L"hivescout-append.log");
    writeFileBytes(log, "earlier line\r\n");
    const HivescoutRun run = runHivescout(L"-appendlog -jumpto= -logtofile=" + log);
    EXPECT_EQ(524304u, run.exitCode());
    const auto lines = splitReportLines(readFileBytes(log));
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(L"earlier line", lines[0]);
    EXPECT_EQ(L"(Error) Process ID: " + std::to_wstring(run.process.processId) +
                  L", User did not specify a key/value to jump to.",
              lines[2]);
    ::DeleteFileW(log.c_str());
}

TEST(LogFile, MissingDirectoryReportsAndFallsBackToTheStandardStreams) {
    const std::wstring log = L"C:\\hivescout-no-such-directory\\x.log";
    const HivescoutRun run = runHivescout(L"-jumptokey= -logtofile=" + log);
    EXPECT_EQ(16u, run.exitCode());
    ASSERT_EQ(2u, run.outputLines.size());
    const std::wstring pid = std::to_wstring(run.process.processId);
    EXPECT_TRUE(startsWith(run.outputLines[0], L"Hivescout, Biuld"));
    EXPECT_TRUE(startsWith(run.outputLines[1], L"Hivescout with process ID"));

    // The system's text ends in its own line break, so an empty-looking line follows.
    ASSERT_GE(run.errorLines.size(), 3u);
    const std::wstring failure = L"(Error) Process ID: " + pid +
                                 L", Error occured during the opening of the log file" + log + L", ";
    EXPECT_TRUE(startsWith(run.errorLines[0], failure)) << run.errorLines[0];
    EXPECT_GT(run.errorLines[0].size(), failure.size());
    EXPECT_EQ(L"", run.errorLines[1]);
    // Logging to a file stays asked for, so there is no hexadecimal line.
    EXPECT_EQ(L"(Error) Process ID: " + pid + L", User did not specify a key to jump to.", run.errorLines[2]);
    EXPECT_EQ(3u, run.errorLines.size());
}
