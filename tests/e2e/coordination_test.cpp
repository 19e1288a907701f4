// Several copies of hivescout.exe and several editors: which editor is chosen, the
// per-editor lock as other copies see it, and the termination commands.
#include <algorithm>

#include "base/exit_flags.h"
#include "tests/support/jump_fixture.h"

namespace {

// The lock's name as every copy of the tool must spell it, held as another copy would.
std::wstring lockName(DWORD id) { return L"Hivescout Wait for other instance to finish" + std::to_wstring(id); }
// A copy's first thread of its own beside its main one comes with its termination watcher,
// which clears the command event and is started just before the copy takes the editor's lock.
const std::size_t kThreadsAtTheLock = 2;

}  // namespace

using Coordination = JumpFixture;

// A free editor is chosen over one in use. Every editor in use: the last one is waited for, as long as the switches
// say (a copy that may not wait long enough gives up), and its lock given up in time is taken.
TEST_F(Coordination, AFreeEditorIsChosenOverOneInUseWhichIsWaitedForAsTheSwitchesSay) {
    Editor first, second;
    ASSERT_TRUE(first.ready() && second.ready());
    MutexHolder busy(lockName(first.processId()));
    EXPECT_EQ(0u, jump(switchWord(L"-jumptokey", testPath(L"Alpha"))).exitCode());
    EXPECT_EQ(testPath(L"Alpha"), EditorReader(second.processId()).selectedKeyPath());
    MutexHolder alsoBusy(lockName(second.processId()));
    const std::wstring target = testPath(L"beta");
    const std::vector<std::wstring> errors = {L", Regedit is in use by another instance of Hivescout. The jump to \"" +
                                                  target + L"\" will not be possible. Application is terminating",
                                              L", Error code returned is: 0x800"};
    for (const wchar_t* waiting : {L"-tb", L"-waittimeout=300", L"-waittimeout=0"}) {
        const DWORD start = ::GetTickCount();
        const HivescoutRun run = jump(std::wstring(waiting) + L" " + switchWord(L"-jumptokey", target));
        EXPECT_LT(::GetTickCount() - start, 2900u) << waiting;
        EXPECT_EQ(ExitFlags::BlockedByOtherInstance, run.exitCode()) << waiting;
        EXPECT_TRUE(reportBody(run).empty());
        EXPECT_EQ(errors, run.errorMessages());
    }
    const auto waiter = startJump(switchWord(L"-jumptokey", target));
    EXPECT_TRUE(waiter->waitForThreads(kThreadsAtTheLock));
    busy.stop();
    alsoBusy.stop();
    EXPECT_EQ(0u, waiter->wait().exitCode);
}

TEST_F(Coordination, ALockNameTakenByAnotherObjectMeansJumpingUnlocked) {
    Editor editor;
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

// The system's editor held open without sharing, as an updater might: its start fails.
TEST_F(Coordination, AFailedLaunchReportsTheCommandLine) {
    const std::wstring installed = installedEditorPath();
    const UniqueHandle held(::CreateFileW(installed.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held) << "cannot hold " << toUtf8(installed) << " open alone: error " << ::GetLastError();
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")));
    EXPECT_EQ(ExitFlags::RegeditLaunchFailed, run.exitCode());
    const std::wstring launch =
        L", Could not launch regedit process (" + installed + L"). The returned error message was: ";
    EXPECT_EQ(launch + L"...", withSystemTextCut(run.errorMessages(), launch).at(0));
}

class Termination : public JumpFixture {
protected:
    // A key with many subkeys and a slow editor make a walk that lasts seconds.
    std::unique_ptr<RunningProcess> startSlowJump() {
        const std::map<std::wstring, std::wstring> slowReads = {{standin::knob::kItemReadDelayMs, L"25"}};
        editor_ = std::make_unique<Editor>(slowReads);
        auto holder = startJump(switchWord(L"-jumptokey", testPath(L"Many\\Key0119")));
        EXPECT_TRUE(editor_->ready() && holder->waitForOutput("Jumping to"));
        return holder;
    }
    std::unique_ptr<Editor> editor_;
};

TEST_F(Termination, AHolderAndAWaiterAreEndedByAThirdCopysCommand) {
    auto holder = startSlowJump();
    auto waiter = startJump(L"-waittimeout=60000 " + switchWord(L"-jumptokey", testPath(L"beta")));
    ASSERT_TRUE(waiter->waitForThreads(kThreadsAtTheLock));
    const HivescoutRun sender = jump(L"-tw " + switchWord(L"-jumptokey", testPath(L"Alpha")));
    for (RunningProcess* copy : {holder.get(), waiter.get()}) {
        const ProcessResult ended = copy->wait(30000);
        EXPECT_EQ(ExitFlags::TerminatedByOtherInstance, ended.exitCode);
        const auto lines = splitReportLines(ended.standardOutput);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(L"Process ID: " + std::to_wstring(ended.processId) +
                      L",  Terminating Hivescout due to termination command from other Hivescout instance.",
                  lines[lines.size() - 2]);
        EXPECT_TRUE(isFrameLine(lines.back(), ended.processId, false));
    }
    EXPECT_EQ(0u, sender.exitCode());
    const std::vector<std::wstring> body = reportBody(sender);
    EXPECT_NE(body.end(), std::find(body.begin(), body.end(), L", Sending command to terminate all other instances"));
    EXPECT_EQ(testPath(L"Alpha"), EditorReader(editor_->processId()).selectedKeyPath());
}

// The copy that made the lock holds it once, so its end gives it up; a holder ended in the
// middle of its jump leaves it abandoned, and the copy waiting for it takes it over.
TEST_F(Termination, TheLockIsGivenUpOnceAndAKilledHoldersLockIsTakenOver) {
    auto maker = startSlowJump();
    const UniqueHandle lock(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, lockName(editor_->processId()).c_str()));
    EXPECT_EQ(0u, maker->wait().exitCode);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(lock.get(), 0)) << "a lock left abandoned, not given up";
    ::ReleaseMutex(lock.get());
    auto killed = startJump(switchWord(L"-jumptokey", testPath(L"Many\\Key0119")));
    ASSERT_TRUE(killed->waitForOutput("Jumping to"));
    auto waiter = startJump(L"-waittimeout=60000 " + switchWord(L"-jumptokey", testPath(L"beta")));
    ASSERT_TRUE(waiter->waitForThreads(kThreadsAtTheLock));
    ::Sleep(1000);   // into its timed wait
    killed.reset();  // ended without giving the lock up
    EXPECT_EQ(0u, waiter->wait().exitCode);
    EXPECT_EQ(testPath(L"beta"), EditorReader(editor_->processId()).selectedKeyPath());
}

TEST_F(Termination, CopiesOfOtherEditorsAreUntouched) {
    if (const std::string why = standinNotInstalled(); !why.empty()) GTEST_SKIP() << why;  // it starts the editor
    auto holder = startSlowJump();
    // A further editor of its own (Wine's own editor ends on "-m"): its command names that editor only.
    EXPECT_EQ(0u, jump(L"-m -tw " + switchWord(L"-jumptokey", L"HKCU\\Software\\HivescoutTest\\Alpha")).exitCode());
    EXPECT_EQ(0u, holder->wait(60000).exitCode);
    EXPECT_EQ(testPath(L"Many\\Key0119"), EditorReader(editor_->processId()).selectedKeyPath());
    EXPECT_EQ(2u, runningEditorIds().size());
}

TEST_F(Termination, ACopyEndsAtOnceWhileAnotherProcessLocksItsLog) {
    Editor editor;
    ASSERT_TRUE(editor.ready());
    const std::wstring log = temporaryPath(L"hivescout-locked.log");
    ::DeleteFileW(log.c_str());
    const MutexHolder held(lockName(editor.processId()));
    auto waiter = startJump(L"-waittimeout=60000 -logtofile=" + quoteArgument(log) + L" " +
                            switchWord(L"-jumptokey", testPath(L"Alpha")));
    // Once its watcher has cleared the event and waits, another process locks the log, as a backup tool might.
    ASSERT_TRUE(waiter->waitForThreads(kThreadsAtTheLock));
    const DWORD access = GENERIC_READ | GENERIC_WRITE, share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    UniqueHandle file(::CreateFileW(log.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    OVERLAPPED whole{};
    ASSERT_TRUE(::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
    const std::wstring name = L"HivescoutTErMInaTIonEvent for regedit with PID " + std::to_wstring(editor.processId());
    UniqueHandle command(::CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
    ::SetEvent(command.get());
    const bool ended = ::WaitForSingleObject(waiter->handle(), 5000) == WAIT_OBJECT_0;
    ::ResetEvent(command.get());
    file.reset();  // closing it unlocks it
    EXPECT_TRUE(ended) << "the copy kept running while the log was locked";
    EXPECT_EQ(ExitFlags::TerminatedByOtherInstance, waiter->wait(30000).exitCode);
    EXPECT_EQ(std::vector<DWORD>{editor.processId()}, runningEditorIds()) << "the copy had another editor to choose";
    ::DeleteFileW(log.c_str());
}
