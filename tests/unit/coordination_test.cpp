#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "base/exit_flags.h"
#include "base/handle.h"
#include "base/shared_objects.h"
#include "base/text_folding.h"
#include "regedit/regedit_instance.h"
#include "regedit/release.h"
#include "regedit/discovery.h"
#include "regedit/launch.h"
#include "regedit/window_wait.h"
#include "sync/regedit_lock.h"
#include "sync/termination.h"
#include "tests/support/capture.h"

using namespace hivescout;

namespace {

// Holds a named mutex on a thread of its own, as another copy would.
class LockHolder {
public:
    explicit LockHolder(std::uint32_t editorId, bool abandon = false) {
        thread_ = std::thread([=] {
            UniqueHandle lock(openRegeditLock(editorId, false));
            held_ = true;
            while (!release_) ::Sleep(5);
            if (!abandon) ::ReleaseMutex(lock.get());
            // Returning without a release abandons the mutex.
        });
        while (!held_) ::Sleep(5);
    }
    ~LockHolder() { stop(); }
    void stop() {
        release_ = true;
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
    std::atomic<bool> held_{false};
    std::atomic<bool> release_{false};
};

// A lock of its own, as another copy's would be.
struct LockClient {
    RegeditLock lock;
    std::uint32_t waitMs;
    bool giveUpAtOnce;
    LockClient(std::uint32_t wait, bool giveUp) : waitMs(wait), giveUpAtOnce(giveUp) {}
    bool acquire(std::uint32_t editorId) { return lock.acquire(editorId, giveUpAtOnce, waitMs); }
};

}  // namespace

TEST(RegeditLock, NamesCarryTheEditorsProcessIdOnly) {
    EXPECT_EQ(L"Hivescout Wait for other instance to finish42", regeditLockName(42));
    EXPECT_EQ(L"Hivescout Wait for other instance to finish4242", regeditLockName(4242));
    EXPECT_EQ(L"Hivescout Wait for other instance to finish4294967295", regeditLockName(0xFFFFFFFFu));
    UniqueHandle a(openRegeditLock(42, false));
    UniqueHandle b(openRegeditLock(4242, false));
    UniqueHandle openedA(openRegeditLock(42, true));
    UniqueHandle missing(openRegeditLock(424242, true));
    EXPECT_TRUE(openedA);
    EXPECT_FALSE(missing);
}

TEST(RegeditLock, HeldLockTimesOutOrIsRefusedAtOnce) {
    LockHolder holder(9002);
    LockClient waiting(200, false);
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(waiting.acquire(9002));
    EXPECT_GE(::GetTickCount() - start, 180u);

    LockClient zero(0, false);
    EXPECT_FALSE(zero.acquire(9002));

    LockClient giveUp(60000, true);
    start = ::GetTickCount();
    EXPECT_FALSE(giveUp.acquire(9002));
    EXPECT_LT(::GetTickCount() - start, 1000u);
}

TEST(RegeditLock, ReleasedOrAbandonedLockIsHandedOver) {
    LockHolder holder(9003);
    std::thread later([&] {
        ::Sleep(150);
        holder.stop();
    });
    LockClient waiting(5000, false);
    EXPECT_TRUE(waiting.acquire(9003));
    later.join();

    // Other copies keep the mutex alive after its holder ended (a third copy waiting).
    LockHolder abandoning(9004, true);
    UniqueHandle waiter4(openRegeditLock(9004, true));
    abandoning.stop();
    LockClient next(0, false);
    EXPECT_TRUE(next.acquire(9004));
    // With -tb an abandoned lock counts as held by another copy.
    LockHolder abandoningAgain(9005, true);
    UniqueHandle waiter5(openRegeditLock(9005, true));
    abandoningAgain.stop();
    LockClient giveUp(0, true);
    EXPECT_FALSE(giveUp.acquire(9005));
}

TEST(TerminationCommand, EventNamesAndLines) {
    EXPECT_EQ(L"HivescoutTErMInaTIonEvent for regedit with PID 42", terminationEventName(42));
    EXPECT_EQ(L"HivescoutTErMInaTIonEvent for regedit with PID 4242", terminationEventName(4242));

    SYSTEMTIME t{};
    t.wYear = 2026; t.wMonth = 12; t.wDay = 5; t.wHour = 9; t.wMinute = 8; t.wSecond = 7;
    char buffer[512];
    const std::size_t length = composeTerminationLines(buffer, sizeof(buffer), 1234, t);
    EXPECT_EQ(std::string("Process ID: 1234,  Terminating Hivescout due to termination command from other Hivescout "
                          "instance.\r\nHivescout with process ID 1234 ended on: 2026-12-05T09:08:07\r\n"),
              std::string(buffer, length));
    EXPECT_EQ(0u, composeTerminationLines(buffer, 20, 1234, t));
}

TEST(TerminationCommand, SendSetsTheEventForAMomentOnly) {
    UniqueHandle event(openTerminationEvent(9100));
    ASSERT_TRUE(event);
    std::atomic<bool> seen{false};
    std::thread watcher([&] { seen = ::WaitForSingleObject(event.get(), 5000) == WAIT_OBJECT_0; });
    ::Sleep(50);
    CapturedReport captured;
    sendTerminationCommand(9100);
    watcher.join();
    EXPECT_TRUE(seen);
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(event.get(), 0));
    EXPECT_EQ(std::vector<std::wstring>{L", Sending command to terminate all other instances"},
              captured.outputMessages());
}

TEST(TerminationCommand, ACommandAfterTheExitCodeIsDecidedChangesNothing) {
    // Were the watcher to act, it would stop this very thread and end the test program.
    static const std::uint32_t editorId = 9200;
    startTerminationWatcher(&editorId);
    resumeTerminationWatcher();
    ::Sleep(100);
    closeTerminationWatcher();
    UniqueHandle event(openTerminationEvent(editorId));
    ASSERT_TRUE(event);
    ::SetEvent(event.get());
    ::Sleep(1500);
    ::ResetEvent(event.get());
    SUCCEED();
}

TEST(Launch, CommandLineFromDirectoryAndCommand) {
    const std::wstring windows = L"C:\\Windows\\\\";
    EXPECT_EQ(L"C:\\Windows\\regedit.exe", composeLaunchCommandLine(L"\\regedit.exe", &windows));
    const std::wstring single = L"C:\\Windows\\";
    EXPECT_EQ(L"C:\\Windows\\regedit.exe -m", composeLaunchCommandLine(L"regedit.exe -m", &single));
    EXPECT_EQ(L"regedit.exe -m", composeLaunchCommandLine(L"regedit.exe -m", nullptr));
    EXPECT_EQ(L"regedit.exe", composeLaunchCommandLine(L"regedit.exe", nullptr));
}

TEST(Launch, ADirectoryWithABlankIsQuotedSoNoOtherProgramStarts) {
    const std::wstring spaced = L"C:\\Program Files\\Win\\";
    EXPECT_EQ(L"\"C:\\Program Files\\Win\\regedit.exe\" -m", composeLaunchCommandLine(L"regedit.exe -m", &spaced));
    EXPECT_EQ(L"\"C:\\Program Files\\Win\\regedit.exe\"", composeLaunchCommandLine(L"regedit.exe", &spaced));
}

TEST(Discovery, BitnessFilter) {
    EXPECT_TRUE(bitnessAccepted(false, 0, 1));
    EXPECT_FALSE(bitnessAccepted(true, 0, 1));
    EXPECT_TRUE(bitnessAccepted(true, 1, 0));
    EXPECT_FALSE(bitnessAccepted(false, 1, 0));
    EXPECT_TRUE(bitnessAccepted(true, 0, 0));
    EXPECT_TRUE(bitnessAccepted(false, 0, 0));
    EXPECT_FALSE(isProcess32Bit(::GetCurrentProcess()));
}

TEST(Discovery, NoSuchExecutableGivesNoEditor) {
    EXPECT_EQ(0xFFFFFFFFu, findEligibleRegedit(L"hivescout-no-such-program.exe", 0, 1));
}

TEST(Discovery, NamesMatchCaseFoldedAndWhole) {
    // This test program's own name, in another case, is found; a longer name is not.
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    name = name.substr(name.rfind(L'\\') + 1);
    EXPECT_EQ(::GetCurrentProcessId(), findEligibleRegedit(foldToUpper(name), 0, 1));
    EXPECT_EQ(0xFFFFFFFFu, findEligibleRegedit(L"x" + name, 0, 1));
    EXPECT_EQ(0xFFFFFFFFu, findEligibleRegedit(name + L".bak", 0, 1));
}

namespace {

// A top-level window of this process with a given number of plain direct children and,
// on request, one more child that holds controls of the given classes.
class TestWindow {
public:
    explicit TestWindow(int children, std::vector<const wchar_t*> innerClasses = {}) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        window_ = ::CreateWindowExW(0, L"STATIC", L"hivescout test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                    nullptr, nullptr, nullptr);
        for (int i = 0; i < children; ++i) child(window_, L"STATIC");
        if (innerClasses.empty()) return;
        const HWND inner = child(window_, L"STATIC");
        for (const wchar_t* className : innerClasses) child(inner, className);
    }
    ~TestWindow() { ::DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    static HWND child(HWND parent, const wchar_t* className) {
        return ::CreateWindowExW(0, className, L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    }
    HWND window_;
};

}  // namespace

TEST(WindowWait, MainWindowNeedsThreeDirectChildrenOrAnInnerWindowWithBothViews) {
    struct Case {
        int children;
        std::vector<const wchar_t*> inner;
        std::uint32_t accepted;
    };
    const Case cases[] = {
        {2, {}, 0},
        {3, {}, 1},
        {4, {}, 1},
        {1, {WC_TREEVIEWW, WC_LISTVIEWW}, 1},
        {0, {WC_LISTVIEWW, WC_TREEVIEWW}, 1},
        {1, {WC_TREEVIEWW, L"STATIC"}, 0},
        {1, {WC_LISTVIEWW}, 0},
    };
    const std::uint32_t self = ::GetCurrentProcessId();
    std::vector<std::unique_ptr<TestWindow>> windows;
    for (const Case& c : cases) {
        windows.push_back(std::make_unique<TestWindow>(c.children, c.inner));
        EXPECT_EQ(c.accepted != 0, isRegeditMainWindow(windows.back()->get(), self)) << c.children << " children";
    }
    EXPECT_FALSE(isRegeditMainWindow(windows[1]->get(), self + 4));

    WindowEnumerator enumerator;
    enumerator.enumerate(self);
    for (std::size_t i = 0; i < windows.size(); ++i)
        EXPECT_EQ(cases[i].accepted, enumerator.windows().count(windows[i]->get())) << i;
}

TEST(Release, ClosesEachHandleOnceAndToleratesASecondCall) {
    HANDLE duplicate = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &duplicate,
                                  SYNCHRONIZE, FALSE, 0));
    regeditInstance = RegeditInstance{};
    regeditInstance.openedProcess.reset(duplicate);
    regeditInstance.process = duplicate;
    releaseRegedit();
    EXPECT_EQ(nullptr, regeditInstance.process);
    EXPECT_FALSE(regeditInstance.openedProcess);
    releaseRegedit();
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(duplicate, &flags));
}
