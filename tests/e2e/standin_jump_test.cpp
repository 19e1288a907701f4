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
    const std::wstring target = testPath(L"Alpha\\A"), code = L", Error code returned is: 0x";
    const Lines jumped = {L", Jumping to value: " + target, L", Jump to the value was successfull"};
    const Lines failed = {jumped[0], L", Jump to value: " + target + L", FAILED."};
    const Lines passed = {failed[0], failed[1], L" The successfully passed path was : " + testPath(L"Alpha\\")};
    const Lines notEligible = {L", Failed to find eligible Regedit window.", code + L"24",
                               L", Unable to acquire the handles needed to perform the jump. "};
    const std::wstring readFailed = L", Error occurred while reading the regedit process memory. Error returned was : ";
    const std::wstring unexpected = L", Regedit terminated unexpectedly before the jump could be completed.";
    const std::wstring terminated = L", Regedit was terminated before the jump was completed.";
    const Lines windowWaitEnded = {code + L"2000000", terminated};
    const Lines treeReadFailed = {readFailed + L"...", unexpected, code + L"2000480", terminated};
    const Lines listReadFailed = {readFailed + L"...", unexpected, code + L"2000600", terminated};
    // The knobs of the editor the jump launches, and what the jump returns and reports.
    const std::tuple<std::map<std::wstring, std::wstring>, std::uint32_t, Lines, Lines> rows[] = {
        {{{knob::kWindowDelayMs, L"2000"}}, 0, jumped, {}},
        {{{knob::kControlsDelayMs, L"300"}}, 0, jumped, {}},
        // A tree without a list after it (which windows and views qualify is the unit tests').
        {{{knob::kNoList, L"1"}}, 0x24, {failed[1]}, notEligible},
        // Ending during the window wait, and inside an item query.
        {{{knob::kWindowDelayMs, L"4000"}, {knob::kExitAfterMs, L"700"}}, 0x2000000, {}, windowWaitEnded},
        {{{knob::kExitOnItemRead, L"tree:2"}}, 0x2000480, failed, treeReadFailed},
        {{{knob::kExitOnItemRead, L"list:1"}}, 0x2000600, passed, listReadFailed},
    };
    for (const auto& [knobs, exitCode, body, errors] : rows) {
        SCOPED_TRACE(toUtf8(knobs.begin()->first + L"=" + knobs.begin()->second));
        const HivescoutRun run = jump(switchWord(L"-jumptovalue", target), knobs);
        EXPECT_EQ(exitCode, run.exitCode());
        EXPECT_EQ(body, reportBody(run));
        EXPECT_EQ(errors, withSystemTextCut(run.errorMessages(), readFailed));
        endEditorsExcept();  // the one the jump started: none ran before
    }
}

// The stand-in stalls inside a message. For 8 s it is only slow, and is waited for. For ten minutes it has stopped
// answering: each copy ends once the bound has passed, naming the editor, and gives its lock up, so the next copy
// meets the same editor, not the lock. That stall outlasts the test, which ends the editor.
TEST_F(StandinJump, AnEditorThatStopsAnsweringIsGivenUpAfterTheBoundOneOnlySlowIsWaitedFor) {
    // The message that stalls, for how long, the exit code in hexadecimal and how many copies jump in turn.
    for (const auto& [stallIn, stallMs, exitCode, copies] : {std::tuple{L"TVM_GETITEMW", L"600000", L"480", 2},
                                                             {L"TVM_EXPAND", L"600000", L"480", 1},
                                                             {L"LVM_GETITEMW", L"600000", L"600", 1},
                                                             {L"TVM_EXPAND", L"8000", L"0", 1}}) {
        SCOPED_TRACE(toUtf8(stallIn + std::wstring(L" for ") + stallMs));
        const Editor stalling(standinPath(), {{knob::kStallIn, stallIn}, {knob::kStallMs, stallMs}});
        ASSERT_TRUE(stalling.ready());
        const std::wstring named = std::to_wstring(stalling.processId()) + L" (" + standinPath() + L")";
        const Lines unanswered = {L", The regedit process " + named + L" did not answer within 20000 ms.",
                                  L", Error code returned is: 0x" + std::wstring(exitCode)};
        for (int copy = 1; copy <= copies; ++copy) {
            const DWORD start = ::GetTickCount();
            const HivescoutRun run = jump(switchWord(L"-jumptovalue", testPath(L"Alpha\\A")));
            const DWORD took = ::GetTickCount() - start;
            EXPECT_GE(took, 8000u) << "copy " << copy << " met no stall";
            EXPECT_LT(took, kEditorAnswerBoundMs + 10000) << "copy " << copy;
            EXPECT_EQ(std::wcstoul(exitCode, nullptr, 16), run.exitCode());
            EXPECT_EQ(std::wstring(exitCode) == L"0" ? Lines{} : unanswered, run.errorMessages());
        }
    }
}

namespace {

const wchar_t kPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kPolicy[] = L"DisableRegistryTools";

// A policy value for the test's life, set only where there was none.
struct PolicyValue {
    PolicyValue(HKEY root, DWORD value) : root(root) {
        if (::RegGetValueW(root, kPolicyKey, kPolicy, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND)
            set = ::RegSetKeyValueW(root, kPolicyKey, kPolicy, REG_DWORD, &value, sizeof(value)) == ERROR_SUCCESS;
    }
    ~PolicyValue() {
        if (set) ::RegDeleteKeyValueW(root, kPolicyKey, kPolicy);
    }
    const HKEY root;
    bool set = false;
};

}  // namespace

// Registry editing disabled by policy, in either root key: no further editor is started (the stand-in, as the
// system's editor, would show only that), and the running one is still used. Its jumps leave nothing in it: a block
// left behind is one more region in use after the second jump than after the first (which lets the editor settle).
TEST_F(StandinJump, APolicyDisablingRegistryEditingStopsOnlyALaunchAndJumpsLeaveNothingInTheEditor) {
    const Editor running;  // opened before the policy came
    ASSERT_TRUE(running.ready());
    const std::wstring target = switchWord(L"-jumptovalue", testPath(L"Alpha\\A"));
    std::vector<std::size_t> regionsAfterJumps;
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
        regionsAfterJumps.push_back(regionsInUse(running.process()).size());
        EXPECT_EQ(std::vector<DWORD>{running.processId()}, runningEditorIds());
    }
    EXPECT_EQ(regionsAfterJumps[0], regionsAfterJumps[1]) << "a block left behind in the editor";
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
