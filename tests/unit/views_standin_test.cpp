// The views driven across processes, against the editor stand-in.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <memory>
#include <string>
#include <vector>

#include "base/exit_flags.h"
#include "base/handle.h"
#include "app/main_flow.h"
#include "app/jump_settings.h"
#include "tests/support/capture.h"
#include "tests/support/editor_view.h"
#include "tests/support/registry_data.h"
#include "tests/support/standin.h"
#include "views/view_finder.h"
#include "views/tree_walk.h"
#include "views/remote_buffers.h"
#include "regedit/regedit_instance.h"
#include "views/remote_buffers.h"
#include "views/value_list.h"

using namespace hivescout;

namespace {

using standin::Control;

constexpr DWORD kDriverAccess = 0x00100438;  // what the orchestration opens the editor with

std::wstring testPath(const std::wstring& below = std::wstring()) {
    return std::wstring(L"HKEY_CURRENT_USER\\Software\\HivescoutTest") + (below.empty() ? L"" : L"\\" + below);
}

bool isCommitted(HANDLE process, void* address) {
    MEMORY_BASIC_INFORMATION info{};
    return ::VirtualQueryEx(process, address, &info, sizeof(info)) == sizeof(info) && info.State == MEM_COMMIT;
}

SIZE_T privateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    return counters.PrivateUsage;
}

class StandinViews : public ::testing::Test {
protected:
    static void SetUpTestSuite() { data_ = std::make_unique<TestRegistryData>(sampleTestTree()); }
    static void TearDownTestSuite() { data_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(data_->created());
        passedPath.clear();
        targetKindWord = L"key/value";
    }

    void TearDown() override {
        releaseRemoteBuffers();
        regeditInstance.process = nullptr;
        process_.reset();
        if (editor_) editor_->stop();
        editor_.reset();
    }

    // Starts a stand-in and opens it as the orchestration would.
    void startEditor(std::map<std::wstring, std::wstring> knobs = {}, bool waitUntilReady = true) {
        StandinOptions options;
        options.knobs = std::move(knobs);
        options.waitUntilReady = waitUntilReady;
        editor_ = std::make_unique<Standin>(options);
        ASSERT_TRUE(editor_->started());
        process_.reset(::OpenProcess(kDriverAccess, FALSE, editor_->processId()));
        ASSERT_TRUE(process_);
        regeditInstance.process = process_.get();
        regeditInstance.is32Bit = 0;
    }

    HWND mainWindow() {
        editor_->observer().waitFor([](const StandinState& state) { return state.mainWindow != nullptr; }, 5000);
        return editor_->state().mainWindow;
    }

    std::uint32_t findViews() {
        allocateLocalText();
        return findRegeditViews(WindowSet{mainWindow()}, views_, process_.get());
    }

    std::uint32_t jump(JumpKind kind, const std::wstring& path) {
        ScopedValue<JumpKind> kindSetting(jumpSettings.jumpKind, kind);
        targetKindWord = kindWordFor(kind);
        return jumpInRegeditViews(path, views_, jumpSettings.jumpKind, RecordLayout::Bits64);
    }

    // Finds the views, then jumps with a clean message record.
    std::uint32_t findAndJump(JumpKind kind, const std::wstring& path) {
        EXPECT_EQ(0u, findViews());
        editor_->observer().clearMessages();
        return jump(kind, path);
    }

    static std::unique_ptr<TestRegistryData> data_;
    std::unique_ptr<Standin> editor_;
    UniqueHandle process_;
    RegeditViews views_;
    CapturedReport report_;
};

std::unique_ptr<TestRegistryData> StandinViews::data_;

}  // namespace

// ---- Finding the controls and the blocks --------------------------------------------

TEST_F(StandinViews, FindsTheTreeAndTheListThatFollowsIt) {
    startEditor();
    EXPECT_EQ(0u, findViews());
    const StandinState state = editor_->state();
    EXPECT_EQ(state.tree, views_.tree);
    EXPECT_EQ(state.list, views_.list);
    EXPECT_TRUE(isCommitted(process_.get(), remoteBuffers.text.address()));
    EXPECT_TRUE(isCommitted(process_.get(), remoteBuffers.treeItem.address()));
    EXPECT_TRUE(isCommitted(process_.get(), remoteBuffers.listItem.address()));
    EXPECT_TRUE(report_.errors().empty());
}

TEST_F(StandinViews, ControlsCreatedLateAreFoundByALaterPass) {
    startEditor({{standin::knob::kControlsDelayMs, L"300"}}, false);
    EXPECT_EQ(0u, findViews());
    EXPECT_NE(nullptr, views_.tree);
    EXPECT_NE(nullptr, views_.list);
}

TEST_F(StandinViews, ATreeWithoutAListAfterItIsNoEligibleWindow) {
    for (const wchar_t* placement : {L"none", L"before"}) {
        startEditor({{standin::knob::kListPlacement, placement}});
        const SIZE_T before = privateBytes(process_.get());
        EXPECT_EQ(ExitFlags::CommunicationSetupFailed | ExitFlags::NoEligibleWindow, findViews()) << placement;
        const std::vector<std::wstring> lines = report_.errorMessages();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(L", Failed to find eligible Regedit window.", lines.back());
        // Twenty visits that each found a control must not leave twenty sets of blocks.
        EXPECT_LT(privateBytes(process_.get()), before + 256 * 1024) << placement;
        releaseRemoteBuffers();
        editor_->stop();
        views_ = RegeditViews{};
    }
}

TEST_F(StandinViews, AnEditorThatEndedStopsTheSearch) {
    startEditor();
    editor_->stop();
    EXPECT_EQ(ExitFlags::RegeditTerminated, findViews());
    const std::vector<std::wstring> lines = report_.errorMessages();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(L", Regedit terminated unexpectedly before the jump could be completed.", lines[0]);
    EXPECT_EQ(nullptr, views_.tree);
}

TEST_F(StandinViews, ReleaseAfterTheEditorEndedForgetsTheBlocksAndFreesTheLocalText) {
    startEditor();
    ASSERT_EQ(0u, findViews());
    editor_->stop();
    releaseRemoteBuffers();
    EXPECT_FALSE(remoteBuffers.text.held());
    EXPECT_FALSE(remoteBuffers.treeItem.held());
    EXPECT_FALSE(remoteBuffers.listItem.held());
    EXPECT_FALSE(remoteBuffers.localText);
}

TEST_F(StandinViews, AbandonedBlocksAreLeftToTheEditor) {
    startEditor();
    ASSERT_EQ(0u, findViews());
    void* const text = remoteBuffers.text.address();
    abandonRemoteBuffers();
    releaseRemoteBuffers();
    EXPECT_TRUE(isCommitted(process_.get(), text));
    EXPECT_FALSE(remoteBuffers.text.held());
}

TEST_F(StandinViews, AHandleThatMayNotAllocateFailsTheSetUp) {
    startEditor();
    process_.reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, editor_->processId()));
    ASSERT_TRUE(process_);
    EXPECT_EQ(ExitFlags::CommunicationSetupFailed, findViews());
    const std::vector<std::wstring> lines = report_.errorMessages();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(L", Failed to allocate memory in regedit's address space.", lines[0]);
}

// A right taken from the editor's handle, and what the jump must then report.
struct CommunicationFailure {
    DWORD missingRight;
    std::uint32_t bits;
    const wchar_t* message;
};

// The communication failures of a tree item, provoked by a handle without one right.
TEST_F(StandinViews, TreeRecordWriteAndTextReadFailuresAreReported) {
    const CommunicationFailure cases[] = {
        {PROCESS_VM_WRITE, ExitFlags::KeyNotFound | ExitFlags::CommunicationError64,
         L", Error occurred while writing in the regedit process memory. Error returned was : "},
        {PROCESS_VM_READ, ExitFlags::KeyNotFound | ExitFlags::CommunicationError128,
         L", Error occurred while reading the regedit process memory. Error returned was : "},
    };
    startEditor();
    for (const CommunicationFailure& c : cases) {
        process_.reset(::OpenProcess(kDriverAccess & ~c.missingRight, FALSE, editor_->processId()));
        ASSERT_TRUE(process_);
        regeditInstance.process = process_.get();
        views_ = RegeditViews{};
        ASSERT_EQ(0u, findViews());
        const std::size_t linesBefore = report_.errorMessages().size();
        EXPECT_EQ(c.bits, jump(JumpKind::Key, testPath()));
        const std::vector<std::wstring> lines = report_.errorMessages();
        ASSERT_GT(lines.size(), linesBefore);
        EXPECT_EQ(0u, lines[linesBefore].find(c.message)) << lines[linesBefore];
        EXPECT_EQ(L"", passedPath);
        releaseRemoteBuffers();
    }
}

// ---- The key walk --------------------------------------------------------------------

TEST_F(StandinViews, AMissingMiddleKeyOfAKeyOrValueTargetRunsNoValueSearch) {
    startEditor();
    EXPECT_EQ(ExitFlags::KeyNotFound, findAndJump(JumpKind::KeyOrValue, testPath(L"Missing\\Inner")));
    EXPECT_EQ(L", The key/value was not found", report_.errorMessages().at(0));
    EXPECT_TRUE(forControl(drivingMessages(editor_->observer().messages()), Control::List).empty());
}

// ---- The value search ----------------------------------------------------------------

TEST_F(StandinViews, AKeyWithoutValuesHasOnlyItsDefaultRow) {
    startEditor();
    EXPECT_EQ(ExitFlags::KeyNotFound, findAndJump(JumpKind::Value, testPath(L"Empty\\Anything")));
    EXPECT_EQ(testPath(L"Empty"), selectedKeyPathOf(editor_->processId()));
    EXPECT_EQ(testPath(L"Empty\\"), passedPath);
    EXPECT_EQ(L"value", targetKindWord);
    const std::vector<StandinMessage> list = forControl(drivingMessages(editor_->observer().messages()), Control::List);
    // The default row, then the answer zero that ends the scan; no state change.
    std::size_t reads = 0;
    for (const StandinMessage& message : list) {
        reads += message.message == LVM_GETITEMW;
        EXPECT_NE(static_cast<UINT>(LVM_SETITEMW), message.message);
    }
    EXPECT_EQ(2u, reads);
}

// The communication failures of a list row: the key is reached with a full handle, then
// the search runs with a handle that lacks one right.
TEST_F(StandinViews, ListRecordWriteAndTextReadFailuresAreReported) {
    const CommunicationFailure cases[] = {
        {PROCESS_VM_WRITE, ExitFlags::KeyNotFound | ExitFlags::CommunicationError256,
         L", Error occurred while writing in the regedit process memory. Error returned was : "},
        {PROCESS_VM_READ, ExitFlags::KeyNotFound | ExitFlags::CommunicationError512,
         L", Error occurred while reading the regedit process memory. Error returned was : "},
    };
    startEditor();
    ASSERT_EQ(0u, findAndJump(JumpKind::Key, testPath(L"Alpha")));
    HANDLE const full = remoteBuffers.process;
    for (const CommunicationFailure& c : cases) {
        UniqueHandle limited(::OpenProcess(kDriverAccess & ~c.missingRight, FALSE, editor_->processId()));
        ASSERT_TRUE(limited);
        remoteBuffers.process = limited.get();
        const std::size_t linesBefore = report_.errorMessages().size();
        const ValueSearchResult result = selectValueInList(L"A", views_, RecordLayout::Bits64);
        remoteBuffers.process = full;
        EXPECT_EQ(ValueSearch::Failed, result.outcome);
        EXPECT_EQ(c.bits, result.failure);
        const std::vector<std::wstring> lines = report_.errorMessages();
        ASSERT_GT(lines.size(), linesBefore);
        EXPECT_EQ(0u, lines[linesBefore].find(c.message)) << lines[linesBefore];
    }
    EXPECT_EQ(-1, EditorReader(editor_->processId()).nextRow(LVNI_SELECTED));
}
