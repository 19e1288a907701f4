// Several copies of hivescout.exe and several editors: which editor is chosen, the
// per-editor lock, the window wait, the launch and the termination commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/exit_flags.h"
#include "tests/e2e/jump_bench.h"

using namespace hivescout;

namespace {

// The lock's name as every copy of the tool must spell it.
std::wstring lockName(DWORD editorId) { return L"Hivescout Wait for other instance to finish" + std::to_wstring(editorId); }

const wchar_t kTerminatedLine[] = L",  Terminating Hivescout due to termination command from other Hivescout instance.";

std::wstring inUseLine(const std::wstring& path) {
    return L", Regedit is in use by another instance of Hivescout. The jump to \"" + path +
           L"\" will not be possible. Application is terminating";
}

// Holds an editor's lock on a thread of its own, as another copy of the tool would.
class ForeignLock {
public:
    explicit ForeignLock(DWORD editorId, bool abandon = false) {
        thread_ = std::thread([=] {
            UniqueHandle lock(::CreateMutexW(nullptr, TRUE, lockName(editorId).c_str()));
            held_ = true;
            while (!release_) ::Sleep(5);
            if (!abandon) ::ReleaseMutex(lock.get());
        });
        while (!held_) ::Sleep(5);
    }
    ~ForeignLock() { release(); }
    void release() {
        release_ = true;
        if (thread_.joinable()) thread_.join();
    }
    void releaseAfter(DWORD ms) {
        std::thread([this, ms] {
            ::Sleep(ms);
            release_ = true;
        }).detach();
    }

private:
    std::thread thread_;
    std::atomic<bool> held_{false};
    std::atomic<bool> release_{false};
};

bool contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

using Coordination = JumpBench;

TEST_F(Coordination, AFreeEditorIsChosenOverOneInUse) {
    auto editors = startStandins(2);
    ForeignLock busy(editors[0]->processId());
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")));
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_EQ(testPath(L"Alpha"), selectedKeyPathOf(editors[1]->processId()));
    EXPECT_NE(testPath(L"Alpha"), selectedKeyPathOf(editors[0]->processId()));
}

TEST_F(Coordination, WhenEveryEditorIsInUseTheLastIsWaitedFor) {
    auto editors = startStandins(2);
    ForeignLock first(editors[0]->processId());
    ForeignLock second(editors[1]->processId());
    const std::wstring target = testPath(L"Alpha");
    const HivescoutRun run = jump(L"-tb " + switchWord(L"-jumptokey", target));
    EXPECT_EQ(ExitFlags::BlockedByOtherInstance, run.exitCode());
    EXPECT_EQ(inUseLine(target), run.errorMessages().at(0));
    EXPECT_TRUE(reportBody(run).empty());  // no jumping line
}

TEST_F(Coordination, TheDefaultWaitTakesALockGivenUpInTime) {
    Standin editor;
    ForeignLock busy(editor.processId());
    busy.releaseAfter(500);
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"beta")));
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_EQ(testPath(L"beta"), selectedKeyPathOf(editor.processId()));
}

TEST_F(Coordination, AShortOrZeroWaitGivesUp) {
    Standin editor;
    ForeignLock busy(editor.processId());
    const std::wstring target = testPath(L"beta");
    for (const wchar_t* timeout : {L"-waittimeout=300", L"-waittimeout=0", L"-waittimeout=x"}) {
        const DWORD start = ::GetTickCount();
        const HivescoutRun run = jump(std::wstring(timeout) + L" " + switchWord(L"-jumptokey", target));
        EXPECT_LT(::GetTickCount() - start, 2900u) << timeout;
        EXPECT_EQ(ExitFlags::BlockedByOtherInstance, run.exitCode()) << timeout;
        const std::vector<std::wstring> errors = {inUseLine(target), L", Error code returned is: 0x800"};
        EXPECT_EQ(errors, run.errorMessages());
    }
}

TEST_F(Coordination, ALockAbandonedByItsHolderIsTakenOver) {
    Standin editor;
    ForeignLock holder(editor.processId(), true);
    UniqueHandle waiter(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, lockName(editor.processId()).c_str()));  // keeps the mutex alive
    holder.release();
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"beta")));
    EXPECT_EQ(0u, run.exitCode());
}

TEST_F(Coordination, ALockNameTakenByAnotherObjectMeansJumpingUnlocked) {
    Standin editor;
    UniqueHandle squatter(::CreateEventW(nullptr, TRUE, FALSE, lockName(editor.processId()).c_str()));
    ASSERT_TRUE(squatter);
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"beta")));
    EXPECT_EQ(0u, run.exitCode());
    const std::vector<std::wstring> expected = {
        L"(Error) Error occured during the initialisation of the Hivescout synchronisation data. This instance will "
        L"not be able to synchronise itself with other running Hivescout instances.",
        L", Jumping to key: " + testPath(L"beta"), L", Jump to the key was successfull"};
    EXPECT_EQ(expected, reportBody(run));
}

TEST_F(Coordination, ALaunchedEditorsLateWindowIsWaitedFor) {
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")),
                                  {{standin::knob::kWindowDelayMs, L"2000"}});
    EXPECT_EQ(0u, run.exitCode());
}

TEST_F(Coordination, AWindowWithTwoChildrenIsNeverAccepted) {
    const DWORD start = ::GetTickCount();
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")),
                                  {{standin::knob::kTwoChildren, L"1"}});
    EXPECT_GE(::GetTickCount() - start, 4900u);
    EXPECT_EQ(ExitFlags::NoEligibleWindow, run.exitCode());
    EXPECT_TRUE(reportBody(run).empty());
    EXPECT_EQ(std::vector<std::wstring>{L", Error code returned is: 0x4"}, run.errorMessages());
}

TEST_F(Coordination, AnEditorEndingDuringTheWindowWaitIsReported) {
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")),
                                  {{standin::knob::kWindowDelayMs, L"4000"}, {standin::knob::kExitAfterMs, L"700"}});
    EXPECT_EQ(ExitFlags::RegeditTerminated, run.exitCode());
    const std::vector<std::wstring> errors = {L", Error code returned is: 0x2000000",
                                              L", Regedit was terminated before the jump was completed."};
    EXPECT_EQ(errors, run.errorMessages());
}

TEST_F(Coordination, AFailedLaunchReportsTheCommandLine) {
    const std::wstring installed = installedEditorPath();
    const std::wstring away = installed + L".away";
    ASSERT_TRUE(::MoveFileExW(installed.c_str(), away.c_str(), MOVEFILE_REPLACE_EXISTING));
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")));
    ::MoveFileExW(away.c_str(), installed.c_str(), MOVEFILE_REPLACE_EXISTING);

    EXPECT_EQ(ExitFlags::RegeditLaunchFailed, run.exitCode());
    const auto errors = run.errorMessages();
    ASSERT_GE(errors.size(), 3u);
    const std::wstring launchLine = L", Could not launch regedit process (" + installed +
                                    L"). The returned error message was: ";
    EXPECT_EQ(launchLine, errors[0].substr(0, launchLine.size()));
    EXPECT_EQ(L", Error occured while trying to launch the Regedit.", errors.back());
}

class Termination : public JumpBench {
protected:
    // A key with many subkeys and a slow editor make a walk that lasts seconds.
    RegistryKeySpec testTree() const override {
        RegistryKeySpec tree = sampleTestTree();
        tree.add(keyWithNumberedSubkeys(L"Many", L"Key", 120, 4));
        return tree;
    }
    std::wstring slowTarget() const { return switchWord(L"-jumptokey", testPath(L"Many\\Key0119")); }
    StandinOptions slowEditor() const { return withKnobs({{standin::knob::kItemReadDelayMs, L"25"}}); }
};

TEST_F(Termination, AHolderAndAWaiterAreEndedByAThirdCopysCommand) {
    Standin editor(slowEditor());
    ASSERT_TRUE(editor.ready());
    auto holder = startJump(slowTarget());
    ASSERT_TRUE(holder->waitForOutput("Jumping to"));
    auto waiter = startJump(L"-waittimeout=60000 " + switchWord(L"-jumptokey", testPath(L"beta")));
    ::Sleep(700);  // the waiter reaches its locking step

    const HivescoutRun sender = jump(L"-tw " + switchWord(L"-jumptokey", testPath(L"Alpha")));
    const ProcessResult held = holder->wait(30000);
    const ProcessResult waited = waiter->wait(30000);

    for (const ProcessResult* ended : {&held, &waited}) {
        EXPECT_FALSE(ended->timedOut);
        EXPECT_EQ(ExitFlags::TerminatedByOtherInstance, ended->exitCode);
        const auto lines = splitReportLines(ended->standardOutput);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(L"Process ID: " + std::to_wstring(ended->processId) + kTerminatedLine, lines[lines.size() - 2]);
        EXPECT_EQ(0u, lines.back().find(L"Hivescout with process ID " + std::to_wstring(ended->processId) + L" ended on: "));
        EXPECT_EQ(26u + std::to_wstring(ended->processId).size() + 11 + 19, lines.back().size());
    }
    EXPECT_EQ(0u, sender.exitCode());
    EXPECT_TRUE(contains(sender.outputMessages(), L", Sending command to terminate all other instances"));
    EXPECT_EQ(testPath(L"Alpha"), selectedKeyPathOf(editor.processId()));
}

TEST_F(Termination, ACopyEndsAtOnceWhileAnotherProcessLocksItsLog) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    const std::wstring log = temporaryPath(L"hivescout-locked.log");
    ForeignLock held(editor.processId());
    auto waiter = startJump(L"-waittimeout=60000 -logtofile=" + quoteArgument(log) + L" " +
                            switchWord(L"-jumptokey", testPath(L"Alpha")));
    ::Sleep(1500);  // the copy waits for the editor's lock, its watcher for commands

    // Another process locks the whole log file, as a reader or a backup tool might.
    UniqueHandle file(::CreateFileW(log.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
    ASSERT_TRUE(file);
    OVERLAPPED whole{};
    ASSERT_TRUE(::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
    UniqueHandle command(::CreateEventW(nullptr, TRUE, FALSE,
                                        (L"HivescoutTErMInaTIonEvent for regedit with PID " +
                                         std::to_wstring(editor.processId())).c_str()));
    ::SetEvent(command.get());
    ::Sleep(200);
    ::ResetEvent(command.get());
    const bool ended = ::WaitForSingleObject(waiter->handle(), 5000) == WAIT_OBJECT_0;
    whole = OVERLAPPED{};
    ::UnlockFileEx(file.get(), 0, MAXDWORD, MAXDWORD, &whole);
    EXPECT_TRUE(ended) << "the copy kept running while the log was locked";
    EXPECT_EQ(ExitFlags::TerminatedByOtherInstance, waiter->wait(30000).exitCode);
    file.reset();
    ::DeleteFileW(log.c_str());
}

TEST_F(Termination, CopiesOfOtherEditorsAreUntouched) {
    Standin editor(slowEditor());
    ASSERT_TRUE(editor.ready());
    auto holder = startJump(slowTarget());
    ASSERT_TRUE(holder->waitForOutput("Jumping to"));
    // A further editor of its own: its command names that editor only.
    const HivescoutRun other = jump(L"-m -tw " + switchWord(L"-jumptokey", testPath(L"Alpha")));
    EXPECT_EQ(0u, other.exitCode());
    const ProcessResult held = holder->wait(60000);
    EXPECT_EQ(0u, held.exitCode);
    EXPECT_EQ(testPath(L"Many\\Key0119"), selectedKeyPathOf(editor.processId()));
}
