#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <tuple>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "base/handle.h"
#include "base/report_texts.h"
#include "base/shared_objects.h"
#include "base/text_folding.h"
#include "regedit/discovery.h"
#include "regedit/editing_policy.h"
#include "regedit/launch.h"
#include "regedit/silent_editor.h"
#include "regedit/editor_windows.h"
#include "sync/regedit_lock.h"
#include "sync/termination.h"
#include "tests/support/process_runner.h"

using namespace hivescout;

// A lock given up or abandoned is taken, end to end; an abandoned one refused with -tb only here.
TEST(RegeditLock, WithGiveUpAnAbandonedLockCountsAsHeld) {
    HANDLE made = nullptr;  // by a thread that ends without giving it up
    std::thread([&made] { made = ::CreateMutexW(nullptr, TRUE, regeditLockName(9005).c_str()); }).join();
    const UniqueHandle abandoned(made);
    RegeditLock lock;  // of its own, as another copy's would be
    EXPECT_FALSE(lock.acquire(9005, true, 0));
}

TEST(TerminationCommand, ACommandAfterTheExitCodeIsDecidedChangesNothing) {
    // Were the watcher to act, it would stop this very thread and end the test program.
    static const std::uint32_t editorId = 9200;
    const std::vector<DWORD> before = threadIds(::GetCurrentProcessId());
    startTerminationWatcher(editorId);
    std::vector<UniqueHandle> started;  // the watcher and its deadline
    for (const DWORD id : threadIds(::GetCurrentProcessId()))
        if (!std::count(before.begin(), before.end(), id)) started.emplace_back(::OpenThread(SYNCHRONIZE, FALSE, id));
    ASSERT_EQ(2u, started.size()) << "no test before this one may start the watcher";
    resumeTerminationWatcher();
    closeTerminationWatcher();
    UniqueHandle event(openTerminationEvent(editorId));
    ASSERT_TRUE(event && ::SetEvent(event.get()));
    // The watcher wakes to the command and ends, having let it pass.
    for (const UniqueHandle& thread : started) EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread.get(), 10000));
    ::ResetEvent(event.get());
}

// A directory with a blank is quoted, so that no other program starts (a plain one: end to end). Policy values
// other than 1 and 2 leave registry editing allowed (those two in either root, and the refusal: end to end).
TEST(Launch, TheCommandLineAndThePolicyValues) {
    const std::wstring doubled = L"C:\\Windows\\\\", spaced = L"C:\\Program Files\\Win\\";
    EXPECT_EQ(L"C:\\Windows\\regedit.exe", composeLaunchCommandLine(L"\\regedit.exe", &doubled));
    EXPECT_EQ(L"regedit.exe -m", composeLaunchCommandLine(L"regedit.exe -m", nullptr));
    EXPECT_EQ(L"\"C:\\Program Files\\Win\\regedit.exe\" -m", composeLaunchCommandLine(L"regedit.exe -m", &spaced));
    for (const unsigned long value : {0ul, 3ul, 0x101ul}) EXPECT_FALSE(disablesRegistryEditing(value)) << value;
}

// This test program's own name, in another case, is found, other names are not (bitnesses: end to end).
TEST(Discovery, NamesMatchedCaseFoldedAndWhole) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring name = std::wstring(path).substr(std::wstring(path).rfind(L'\\') + 1);
    EXPECT_EQ(::GetCurrentProcessId(), findEligibleRegedit(foldToUpper(name), false, true));
    for (const std::wstring& other : {L"x" + name, name + L".bak", std::wstring(L"hivescout-no-such-program.exe")})
        EXPECT_EQ(0xFFFFFFFFu, findEligibleRegedit(other, false, true));
}

// An editor without a window is named; one that handed over gets the advice for its successor's bitness, and a
// successor of a bitness not asked for adds the conflict bit (a 32-bit one handing over to 64-bit: end to end).
TEST(SilentEditorReport, TheLinesAndBitsFollowTheSuccessorsBitness) {
    // {successor's bitness (0: none), 32-bit wanted, 64-bit wanted, bits, advice}
    for (const auto& [successor, want32, want64, bits, advice] : {std::tuple{0, 1, 0, 4u, std::wstring()},
                                                                  {64, 0, 0, 4u, text::kHandedOverUse64},
                                                                  {32, 0, 1, 0x10004u, text::kHandedOverUse32},
                                                                  {32, 1, 0, 4u, text::kHandedOverUse32}}) {
        SilentEditor editor{7, L"C:\\A\n", {}};
        if (successor) editor.successor = SilentEditor::Successor{9, L"B", successor == 32};
        const SilentEditorVerdict verdict = judgeSilentEditor(editor, 5000, want32, want64);
        const std::wstring& handover = verdict.handoverLine;
        EXPECT_EQ(L", The regedit process 7 (C:\\A<U+000A>) showed no eligible window within 5000 ms.",
                  verdict.noWindowLine);
        EXPECT_EQ(successor == 0, handover.empty());
        EXPECT_EQ(advice, handover.substr(handover.size() - std::min(handover.size(), advice.size())));
        EXPECT_EQ(bits, verdict.bits) << successor << want32 << want64;
    }
}

// The search keeps the windows of the editor's process with three direct children or an inner window with both views
// (more children, and an inner window with the tree first: end to end, in both editors).
TEST(WindowWait, MainWindowsAreFoundByTheirChildren) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    // {direct children, classes of an inner window's children, accepted}
    const std::tuple<int, std::vector<const wchar_t*>, std::uint32_t> cases[] = {
        {2, {}, 0},
        {3, {}, 1},
        {1, {WC_LISTVIEWW, WC_TREEVIEWW}, 1},
        {1, {WC_TREEVIEWW, L"STATIC"}, 0},
        {1, {WC_LISTVIEWW}, 0},
    };
    auto create = [](const wchar_t* className, HWND parent) {
        const DWORD style = parent ? WS_CHILD : WS_OVERLAPPEDWINDOW;
        return ::CreateWindowExW(0, className, L"", style, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    };
    const LONG_PTR self = static_cast<LONG_PTR>(::GetCurrentProcessId());
    for (const auto& [children, inner, accepted] : cases) {
        const HWND window = create(L"STATIC", nullptr);
        for (int i = 0; i < children; ++i) create(L"STATIC", window);
        const HWND innerWindow = inner.empty() ? nullptr : create(L"STATIC", window);
        for (const wchar_t* className : inner) create(className, innerWindow);
        WindowEnumerator enumerator;
        enumerator.enumerate(self);
        EXPECT_EQ(accepted, enumerator.windows().count(window)) << children << " children";
        EXPECT_EQ(0u, isRegeditMainWindow(window, self + 4));
        ::DestroyWindow(window);
    }
}
