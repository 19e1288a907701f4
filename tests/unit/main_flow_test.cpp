#include <gtest/gtest.h>

#include "base/exit_flags.h"
#include "app/main_flow.h"
#include "tests/support/capture.h"

using namespace hivescout;

namespace {

std::vector<std::wstring> failureLines(std::uint32_t flags, bool logToFile, const wchar_t* kind) {
    ScopedValue<bool> logging(loggingToFile, logToFile);
    ScopedValue<std::wstring> word(targetKindWord, kind);
    CapturedReport captured;
    reportFailures(flags);
    EXPECT_EQ(L"", captured.output());
    return captured.errorMessages();
}

}  // namespace

TEST(ReportFailures, EveryReportedBitInItsOrder) {
    const std::uint32_t all = ExitFlags::UsageWindowFailed | ExitFlags::RegeditHandleFailed |
                              ExitFlags::RegeditLaunchFailed | ExitFlags::NoKeyGiven | ExitFlags::NoValueGiven |
                              ExitFlags::CommunicationSetupFailed | ExitFlags::RegeditTerminated;
    const std::vector<std::wstring> expected = {
        L", Error code returned is: 0x208403a",
        L", Failed to create the Usage dialog window.",
        L", Unable to open a process handle of regedit executable.",
        L", Error occured while trying to launch the Regedit.",
        L", User did not specify a key/value to jump to.",
        L", Unable to acquire the handles needed to perform the jump. ",
        L", Regedit was terminated before the jump was completed.",
    };
    EXPECT_EQ(expected, failureLines(all, false, L"key/value"));
}

TEST(ReportFailures, BitsReportedElsewhereGetOnlyTheHexadecimalLine) {
    const std::vector<std::wstring> expected = {L", Error code returned is: 0x400"};
    EXPECT_EQ(expected, failureLines(ExitFlags::KeyNotFound, false, L"key"));
    const std::vector<std::wstring> blocked = {L", Error code returned is: 0x4000800"};
    EXPECT_EQ(blocked, failureLines(ExitFlags::BlockedByOtherInstance | ExitFlags::TerminatedByOtherInstance, false, L"key"));
}

TEST(ReportFailures, LogFileRunsHaveNoHexadecimalLine) {
    const std::vector<std::wstring> expected = {L", User did not specify a value to jump to."};
    EXPECT_EQ(expected, failureLines(ExitFlags::NoValueGiven, true, L"value"));
    EXPECT_TRUE(failureLines(ExitFlags::KeyNotFound, true, L"key").empty());
}

TEST(ReportFailures, TheNumberAfterTheHexLineIsDecimalAgain) {
    CapturedReport captured;
    ScopedValue<bool> logging(loggingToFile, false);
    reportFailures(ExitFlags::NoKeyGiven);
    reportOutput(L", n=", 255u);
    EXPECT_EQ(L", n=255", captured.outputMessages().back());
}

TEST(Outcome, SuccessNamesTheNarrowedKind) {
    ScopedValue<std::wstring> word(targetKindWord, L"key");
    CapturedReport captured;
    reportOutcome(0, jumpSettings.jumpPath);
    EXPECT_EQ(std::vector<std::wstring>{L", Jump to the key was successfull"}, captured.outputMessages());
}

TEST(Outcome, NotFoundNamesThePathAndWhatWasPassed) {
    ScopedValue<std::wstring> word(targetKindWord, L"key/value");
    ScopedValue<std::wstring> path(jumpSettings.jumpPath, std::wstring(L"HKEY_CURRENT_USER\\Software\\Missing"));
    ScopedValue<std::wstring> passed(passedPath, std::wstring(L"HKEY_CURRENT_USER\\Software\\"));
    CapturedReport captured;
    reportOutcome(ExitFlags::KeyNotFound, jumpSettings.jumpPath);
    const std::vector<std::wstring> expected = {
        L", Jump to key/value: HKEY_CURRENT_USER\\Software\\Missing, FAILED.",
        L" The successfully passed path was : HKEY_CURRENT_USER\\Software\\"};
    EXPECT_EQ(expected, captured.outputMessages());

    // A path cannot add lines of its own to the report.
    ScopedValue<std::wstring> forged(jumpSettings.jumpPath, std::wstring(L"HKCU\\a\r\nProcess ID: 1, Jump to the key was successfull"));
    CapturedReport again;
    reportOutcome(ExitFlags::KeyNotFound, jumpSettings.jumpPath);
    EXPECT_EQ(L", Jump to key/value: HKCU\\a<U+000D><U+000A>Process ID: 1, Jump to the key was successfull, FAILED.",
              again.outputMessages().at(0));
}

TEST(Outcome, NothingMatchedGivesNoPassedPathLineAndOtherFailuresNoLine) {
    ScopedValue<std::wstring> word(targetKindWord, L"key");
    ScopedValue<std::wstring> path(jumpSettings.jumpPath, std::wstring(L"x"));
    ScopedValue<std::wstring> passed(passedPath, std::wstring());
    CapturedReport captured;
    reportOutcome(ExitFlags::KeyNotFound | ExitFlags::CommunicationError64, jumpSettings.jumpPath);
    reportOutcome(ExitFlags::BlockedByOtherInstance, jumpSettings.jumpPath);
    EXPECT_EQ(std::vector<std::wstring>{L", Jump to key: x, FAILED."}, captured.outputMessages());
}

TEST(MainFlow, MissingTargetBitsByKind) {
    EXPECT_EQ(16u, missingTargetFlags(JumpKind::Key));
    EXPECT_EQ(524288u, missingTargetFlags(JumpKind::Value));
    EXPECT_EQ(524304u, missingTargetFlags(JumpKind::KeyOrValue));
    EXPECT_STREQ(L"key", kindWordFor(JumpKind::Key));
    EXPECT_STREQ(L"value", kindWordFor(JumpKind::Value));
    EXPECT_STREQ(L"key/value", kindWordFor(JumpKind::KeyOrValue));
}

TEST(MainFlow, EditorDirectoryAndCommand) {
    std::wstring directory = regeditDirectoryTemplate(false);
    EXPECT_EQ(13u, directory.size());
    ASSERT_EQ(0u, expandSystemRoot(directory));
    wchar_t windows[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(std::wstring(windows) + L"\\", directory);

    std::wstring wow = regeditDirectoryTemplate(true);
    EXPECT_EQ(22u, wow.size());
    ASSERT_EQ(0u, expandSystemRoot(wow));
    EXPECT_EQ(std::wstring(windows) + L"\\syswow64\\", wow);

    EXPECT_EQ(L"regedit.exe", regeditCommandFor(false));
    EXPECT_EQ(L"regedit.exe -m", regeditCommandFor(true));
}

TEST(MainFlow, ExpansionLeavesUnknownReferencesAsTheyAre) {
    std::wstring text = L"%hivescout_no_such_variable%\\x";
    EXPECT_EQ(0u, expandSystemRoot(text));
    EXPECT_EQ(L"%hivescout_no_such_variable%\\x", text);
}
