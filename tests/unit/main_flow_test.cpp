#include <gtest/gtest.h>

#include <utility>

#include "base/exit_flags.h"
#include "app/main_flow.h"
#include "tests/support/capture.h"

namespace {

std::vector<std::wstring> failureLines(std::uint32_t flags, bool logToFile) {
    const bool saved = std::exchange(loggingToFile, logToFile);
    CapturedReport captured;
    reportFailures(flags, L"key/value");
    loggingToFile = saved;
    EXPECT_EQ(L"", captured.output());
    return captured.errorMessages();
}

}  // namespace

// The lines of a missing target and of failed set-up, after the hexadecimal line, are the end-to-end tests'.
TEST(ReportFailures, TheHexadecimalLineUnlessLoggingThenEveryBitNotReportedElsewhereInItsOrder) {
    using namespace ExitFlags;
    const std::uint32_t all = UsageWindowFailed | RegeditHandleFailed | RegeditLaunchFailed | RegeditTerminated;
    const std::vector<std::wstring> lines = {L", Failed to create the Usage dialog window.",
                                             L", Unable to open a process handle of regedit executable.",
                                             L", Error occured while trying to launch the Regedit.",
                                             L", Regedit was terminated before the jump was completed."};
    std::vector<std::wstring> withHex = lines;
    withHex.insert(withHex.begin(), L", Error code returned is: 0x200400a");
    EXPECT_EQ(withHex, failureLines(all, false));
    EXPECT_EQ(lines, failureLines(all, true));
    // Bits reported where they arise get only the hexadecimal line.
    const std::uint32_t elsewhere = KeyNotFound | BlockedByOtherInstance | TerminatedByOtherInstance;
    EXPECT_EQ(std::vector<std::wstring>{L", Error code returned is: 0x4000c00"}, failureLines(elsewhere, false));
    EXPECT_TRUE(failureLines(elsewhere, true).empty());
    // The number after the hexadecimal line is decimal again.
    CapturedReport captured;
    reportFailures(NoKeyGiven);
    reportOutput(L", n=", 255u);
    EXPECT_EQ(L", n=255", captured.outputMessages().back());
}
