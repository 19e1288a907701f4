// The real hivescout.exe against the stand-in, for what a real editor cannot be made to do
// on demand: windows and controls that come late or never, a further instance, an editor
// that dies during the jump, and the record of every message its controls get.
#include <algorithm>
#include <set>

#include "base/exit_flags.h"
#include "views/editor_messages.h"
#include "tests/support/jump_fixture.h"

using standin::Control;
namespace knob = standin::knob;

using StandinJump = JumpFixture;
using Lines = std::vector<std::wstring>;

TEST_F(StandinJump, EditorsOfEveryShapeAndFate) {
    if (const std::string why = standinNotInstalled(); !why.empty()) GTEST_SKIP() << why;  // it starts the editor
    const std::wstring target = testPath(L"Alpha");
    const Lines jumped = {L", Jumping to key: " + target, L", Jump to the key was successfull"};
    const Lines notEligible = {L", Failed to find eligible Regedit window.", L", Error code returned is: 0x24",
                               L", Unable to acquire the handles needed to perform the jump. "};
    const Lines terminated = {L", Error code returned is: 0x2000000",
                              L", Regedit was terminated before the jump was completed."};
    // The knobs of the editor the jump launches, and what the jump returns and reports.
    const std::tuple<std::map<std::wstring, std::wstring>, std::uint32_t, Lines, Lines> rows[] = {
        {{{knob::kWindowDelayMs, L"2000"}}, 0, jumped, {}},
        {{{knob::kControlsDelayMs, L"300"}}, 0, jumped, {}},
        // A tree without a list after it (which windows and views qualify is the unit tests').
        {{{knob::kNoList, L"1"}}, 0x24, {L", Jump to key: " + target + L", FAILED."}, notEligible},
        // Ending during the window wait.
        {{{knob::kWindowDelayMs, L"4000"}, {knob::kExitAfterMs, L"700"}}, ExitFlags::RegeditTerminated, {}, terminated},
    };
    for (const auto& [knobs, exitCode, body, errors] : rows) {
        SCOPED_TRACE(toUtf8(knobs.begin()->first + L"=" + knobs.begin()->second));
        const HivescoutRun run = jump(switchWord(L"-jumptokey", target), knobs);
        EXPECT_EQ(exitCode, run.exitCode());
        EXPECT_EQ(body, reportBody(run));
        EXPECT_EQ(errors, run.errorMessages());
        endEditorsExcept();  // the one the jump started: none ran before
    }
}

TEST_F(StandinJump, AnEditorEndingInsideAnItemQueryIsAReadFailure) {
    const std::wstring readLine = L", Error occurred while reading the regedit process memory. Error returned was : ";
    for (const auto& [target, exitOn, readFailed] :
         {std::tuple{L"-jumptokey", L"tree:2", ExitFlags::TreeItemReadFailed},
          {L"-jumptovalue", L"list:1", ExitFlags::ListRowReadFailed}}) {
        SCOPED_TRACE(toUtf8(target));
        Editor running(std::map<std::wstring, std::wstring>{{knob::kExitOnItemRead, exitOn}});
        ASSERT_TRUE(running.ready());
        const HivescoutRun run = jump(switchWord(target, testPath(L"Alpha\\A")));
        EXPECT_EQ(ExitFlags::KeyNotFound | readFailed | ExitFlags::RegeditTerminated, run.exitCode());
        const auto errors = run.errorMessages();
        ASSERT_GE(errors.size(), 3u);
        EXPECT_EQ(readLine, errors[0].substr(0, readLine.size()));
        EXPECT_EQ(L", Regedit terminated unexpectedly before the jump could be completed.", errors[1]);
    }
}

// An editor whose window thread stops answering inside a message: each copy ends once the
// bound has passed, naming the editor, and gives its lock up, so the next copy meets the
// same editor, not the lock. The stand-in's hang outlasts the test, which ends it.
TEST_F(StandinJump, AnEditorThatStopsAnsweringIsGivenUpAfterTheBound) {
    // The message that hangs, the switch, the exit code and how many copies jump in turn.
    for (const auto& [stallIn, jumpTo, exitCode, copies] : {std::tuple{L"TVM_GETITEMW", L"-jumptokey", 0x480u, 2},
                                                            {L"TVM_EXPAND", L"-jumptokey", 0x480u, 1},
                                                            {L"LVM_GETITEMW", L"-jumptovalue", 0x600u, 1}}) {
        SCOPED_TRACE(toUtf8(stallIn));
        const Editor hung(standinPath(), {{knob::kStallIn, stallIn}, {knob::kStallMs, L"600000"}});
        ASSERT_TRUE(hung.ready());
        const std::wstring named = std::to_wstring(hung.processId()) + L" (" + standinPath() + L")";
        for (int copy = 1; copy <= copies; ++copy) {
            const DWORD start = ::GetTickCount();
            const HivescoutRun run = jump(switchWord(jumpTo, testPath(L"Alpha\\A")));
            EXPECT_LT(::GetTickCount() - start, kEditorAnswerBoundMs + 10000) << "copy " << copy;
            EXPECT_EQ(exitCode, run.exitCode());
            EXPECT_EQ(L", The regedit process " + named + L" did not answer within 20000 ms.",
                      run.errorMessages().at(0));
        }
    }
}

// An editor that only takes 8 s to expand a level is waited for.
TEST_F(StandinJump, AnEditorThatIsOnlySlowGetsItsJump) {
    const Editor slow(standinPath(), {{knob::kStallIn, L"TVM_EXPAND"}, {knob::kStallMs, L"8000"}});
    ASSERT_TRUE(slow.ready());
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(0u, jump(switchWord(L"-jumptokey", testPath(L"Alpha"))).exitCode());
    EXPECT_GE(::GetTickCount() - start, 8000u) << "the expansion was not slow";
    EXPECT_EQ(testPath(L"Alpha"), EditorReader(slow.processId()).selectedKeyPath());
}

namespace {

const wchar_t kPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kPolicy[] = L"DisableRegistryTools";

// A policy value for the test's life, set only where there was none.
struct PolicyValue {
    PolicyValue(HKEY root, DWORD value) : root(root) {
        if (::RegGetValueW(root, kPolicyKey, kPolicy, RRF_RT_ANY, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND)
            return;
        set = ::RegSetKeyValueW(root, kPolicyKey, kPolicy, REG_DWORD, &value, sizeof(value)) == ERROR_SUCCESS;
    }
    ~PolicyValue() {
        if (set) ::RegDeleteKeyValueW(root, kPolicyKey, kPolicy);
    }
    const HKEY root;
    bool set = false;
};

}  // namespace

// Registry editing disabled by policy, in either root key: no further editor is started (the
// stand-in, as the system's editor, would show only that), and the running one is still used.
TEST_F(StandinJump, APolicyDisablingRegistryEditingStopsOnlyALaunch) {
    const Editor running;  // opened before the policy came
    ASSERT_TRUE(running.ready());
    const std::wstring target = switchWord(L"-jumptokey", testPath(L"Alpha"));
    for (const auto& [root, name, value] :
         {std::tuple{HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", 1}, {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", 2}}) {
        const PolicyValue policy(root, value);
        ASSERT_TRUE(policy.set);
        const HivescoutRun refused = jump(L"-m " + target);
        EXPECT_EQ(ExitFlags::RegeditLaunchFailed, refused.exitCode());
        const std::wstring where = std::to_wstring(value) + L" in " + name + L"\\" + kPolicyKey;
        EXPECT_EQ(L", Registry editing is disabled by policy: DisableRegistryTools is " + where +
                      L", so no registry editor was started.",
                  refused.errorMessages().at(0));
        EXPECT_EQ(0u, jump(target).exitCode());
        EXPECT_EQ(std::vector<DWORD>{running.processId()}, runningEditorIds());
    }
}

// What the jump sends to the controls of an editor that records them, message for message.
// Item handles and record addresses are not the test's to know: those are left uncompared.
class MessageOrder : public JumpFixture {
protected:
    std::vector<RecordedMessage> recordJump(const std::wstring& arguments) {
        const std::wstring recordPath = temporaryPath(L"hivescout-standin-record.bin");
        Editor editor(std::map<std::wstring, std::wstring>{{knob::kRecord, recordPath}});
        EXPECT_TRUE(editor.ready());
        writeFileBytes(recordPath, "");
        editorsOwn_ = regionsInUse(editor.process());
        EXPECT_EQ(0u, jump(arguments).exitCode());
        return recordedMessages(recordPath);
    }
    std::vector<MEMORY_BASIC_INFORMATION> editorsOwn_;  // its memory before the jump
};

// The walk to a root key after its sibling, from the root on.
TEST_F(MessageOrder, ARootKeyAfterItsSibling) {
    const std::vector<ExpectedMessage> expected = {
        {{Control::Tree, TVM_GETNEXTITEM, TVGN_ROOT, 0}, wparam | lparam},
        {{Control::Tree, TVM_GETNEXTITEM, TVGN_CHILD, 0}, wparam},  // of "Computer"
        {{Control::Tree, TVM_GETITEMW, 0, 0}, wparam},              // "HKEY_CLASSES_ROOT"
        {{Control::Tree, TVM_GETNEXTITEM, TVGN_NEXT, 0}, wparam},
        {{Control::Tree, TVM_GETITEMW, 0, 0}, wparam},  // "HKEY_CURRENT_USER"
        {{Control::Tree, TVM_SELECTITEM, TVGN_CARET, 0}, wparam},
        {{Control::Tree, TVM_EXPAND, TVE_EXPAND, 0}, wparam},
        {{Control::Tree, TVM_GETNEXTITEM, TVGN_CHILD, 0}, wparam},  // of the key reached: no level is left
        {{Control::Tree, WM_MBUTTONDOWN, 0, 0}, wparam | lparam},
        {{Control::Tree, WM_MBUTTONUP, 0, 0}, wparam | lparam},
    };
    const std::string mismatch = compareMessages(expected, recordJump(switchWord(L"-jumptokey", L"HKEY_CURRENT_USER")));
    EXPECT_TRUE(mismatch.empty()) << mismatch;
}

// To the list, from the click on the tree.
TEST_F(MessageOrder, AValueFoundInRowTwo) {
    std::vector<RecordedMessage> messages = recordJump(switchWord(L"-jumptovalue", testPath(L"Order\\second")));
    const auto isClick = [](const RecordedMessage& message) { return message.message == WM_MBUTTONDOWN; };
    messages.erase(messages.begin(), std::find_if(messages.begin(), messages.end(), isClick));
    const std::vector<ExpectedMessage> expected = {
        {{Control::Tree, WM_MBUTTONDOWN, 0, 0}, wparam | lparam},
        {{Control::List, LVM_GETITEMCOUNT, 0, 0}, wparam | lparam | optional},  // nothing the jump does depends on it
        {{Control::List, LVM_GETHEADER, 0, 0}, wparam | lparam},
        {{Control::Header, HDM_GETITEMCOUNT, 0, 0}, wparam | lparam},
        {{Control::List, LVM_GETITEMW, 0, 0}, wparam},  // "(Default)"
        {{Control::List, LVM_GETITEMW, 0, 0}, wparam},  // "First"
        {{Control::List, LVM_GETITEMW, 0, 0}, wparam},  // "Second"
        {{Control::List, LVM_SETITEMW, 0, 0}, wparam},
        {{Control::List, LVM_ENSUREVISIBLE, 2, FALSE}, wparam | lparam},
        {{Control::List, WM_MBUTTONDOWN, 0, 0}, wparam | lparam},
        {{Control::List, WM_KEYUP, VK_LEFT, 0}, wparam | lparam},
        {{Control::List, WM_MBUTTONUP, 0, 0}, wparam | lparam},
    };
    const std::string mismatch = compareMessages(expected, messages);
    EXPECT_TRUE(mismatch.empty()) << mismatch;
    // The records: one block of its own that the jump placed where the editor had nothing.
    std::set<std::uint64_t> records;
    for (const RecordedMessage& m : messages)
        if (m.message == LVM_GETITEMW || m.message == LVM_SETITEMW) records.insert(m.lParam);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(0u, *records.begin() % 0x10000);
    for (const MEMORY_BASIC_INFORMATION& r : editorsOwn_)
        EXPECT_LE(r.RegionSize, *records.begin() - reinterpret_cast<std::uintptr_t>(r.BaseAddress)) << r.BaseAddress;
}

// A block left behind is one more region in use (the first jump lets the editor settle).
TEST_F(StandinJump, AJumpLeavesNothingInTheEditor) {
    Editor running;
    ASSERT_TRUE(running.ready());
    const auto committedRegionsAfterAJump = [&] {
        EXPECT_EQ(0u, jump(switchWord(L"-jumptovalue", testPath(L"Alpha\\A"))).exitCode());
        return regionsInUse(running.process()).size();
    };
    const unsigned long first = committedRegionsAfterAJump();
    EXPECT_EQ(first, committedRegionsAfterAJump());
}
