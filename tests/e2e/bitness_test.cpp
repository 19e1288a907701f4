// The real hivescout.exe with 32-bit editors: the 32-bit stand-in, which the test bench
// places as the prefix's 32-bit editor (syswow64\regedit.exe), read back through its own
// 32-bit controls, and Wine's own 32-bit editor, a stub that hands over to the 64-bit one
// (kept by the bench outside the Windows directory).
#include <algorithm>

#include "base/exit_flags.h"
#include "tests/support/jump_fixture.h"

namespace {

std::wstring editor32Path() {
    wchar_t directory[MAX_PATH] = {};
    ::GetSystemWow64DirectoryW(directory, MAX_PATH);
    return directory + std::wstring(L"\\regedit.exe");
}
const std::wstring kWineStub32 = L"C:\\hivescout-bench\\wine32\\regedit.exe";

bool is32Bit(DWORD processId) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    BOOL wow64 = FALSE;
    return process && ::IsWow64Process(process.get(), &wow64) && wow64;
}

// Ends the editors that appeared since the list was taken, which this test started.
void endEditorsSince(const std::vector<DWORD>& before) {
    for (DWORD id : runningEditorIds()) {
        UniqueHandle process(std::count(before.begin(), before.end(), id) ? nullptr : ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process && ::TerminateProcess(process.get(), 0xDEAD)) ::WaitForSingleObject(process.get(), 5000);
    }
}

}  // namespace

class Bitness : public JumpFixture {
protected:
    void SetUp() override {
        JumpFixture::SetUp();
        if (readFileBytes(editor32Path()) != readFileBytes(ownDirectory() + L"standin32\\regedit.exe") ||
            readFileBytes(kWineStub32).empty())
            GTEST_SKIP() << "no 32-bit stand-in at " << toUtf8(editor32Path()) << " or no " << toUtf8(kWineStub32);
    }
};

// The editor running before the jump (none, 32-bit, 64-bit), the switches, and where the key
// and the row selected, focused and in view are read back.
TEST_F(Bitness, AcceptedEditorsOfEitherBitnessAreLaunchedOrAdopted) {
    const struct {
        int running;
        const wchar_t* switches;
        std::wstring path, row;
    } rows[] = {{0, L"-32bit ", testPath(L"Alpha"), L""}, {32, L"-x86 ", testPath(L"Alpha\\A"), L"A"},
                {32, L"-32bit -64bit ", testPath(L"beta\\B"), L"B"}, {64, L"-x86 -x64 ", testPath(L"GAMMA\\Inner"), L""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.switches + row.path));
        const std::vector<DWORD> before = runningEditorIds();
        std::unique_ptr<Editor> running = row.running ? std::make_unique<Editor>(row.running == 32 ? editor32Path() : installedEditorPath(), std::map<std::wstring, std::wstring>{}) : nullptr;
        ASSERT_TRUE(!running || running->ready());
        EXPECT_EQ(0u, jump(row.switches + switchWord(row.row.empty() ? L"-jumptokey" : L"-jumptovalue", row.path)).exitCode());
        const std::vector<DWORD> editors = runningEditorIds();
        ASSERT_EQ(1u, editors.size());
        EXPECT_EQ(row.running != 64, is32Bit(editors[0]));
        EditorReader reader(editors[0]);
        EXPECT_EQ(row.row.empty() ? row.path : row.path.substr(0, row.path.rfind(L'\\')), reader.selectedKeyPath());
        EXPECT_EQ(row.row, reader.selectedRow());
        endEditorsSince(before);
    }
}

// A running editor of the other bitness is not driven: its conflict line and bit.
TEST_F(Bitness, ARunningEditorOfTheOtherBitnessIsAConflict) {
    const std::wstring there = L", There is a ", blocks = L" bit version of regedit.exe working at the moment and it prevents running a new ";
    const struct {
        bool running32;
        const wchar_t* switches;
        std::uint32_t exitCode;
        std::wstring conflict;
    } rows[] = {{true, L"", ExitFlags::Running32BitRegeditBlocks64, there + L"32" + blocks +
                     L"64 bit version of regedit. You can try the multiple instances switch (-MultipleInstances or -M) or close all running 32 bit regedits' windows."},
                {false, L"-32bit ", ExitFlags::Running64BitRegeditBlocks32, there + L"64" + blocks +
                     L"32 bit version of regedit.exe. You can try the multiple instances switch (-MultipleInstances or -M), the 64 bit version of Regedit or close all running 64 bit Regedits"}};
    for (const auto& row : rows) {
        Editor running(row.running32 ? editor32Path() : installedEditorPath(), {});
        ASSERT_TRUE(running.ready());
        const HivescoutRun run = jump(row.switches + switchWord(L"-jumptokey", testPath(L"Alpha")));
        EXPECT_EQ(row.exitCode, run.exitCode());
        EXPECT_EQ((std::vector<std::wstring>{row.conflict, L", Error code returned is: 0x" + (row.running32 ? std::wstring(L"10000") : L"20000")}), run.errorMessages());
        EXPECT_EQ(std::vector<DWORD>{running.processId()}, runningEditorIds());
    }
}

// An editor that shows no window is named with the time waited for it; Wine's 32-bit
// editor, which starts the 64-bit one and waits for it, is named as having handed over.
TEST_F(Bitness, AnEditorWithoutAWindowIsNamedAndAHandoverExplained) {
    {
        RunningProcess stub(quoteArgument(kWineStub32));
        const HivescoutRun run = jump(L"-32bit " + switchWord(L"-jumptokey", testPath(L"Alpha")));
        DWORD successor = 0;
        for (DWORD id : runningEditorIds()) successor = id == stub.processId() ? successor : id;
        EXPECT_EQ(0x20004u, run.exitCode());
        const std::wstring named = L", The regedit process " + std::to_wstring(stub.processId());
        EXPECT_EQ((std::vector<std::wstring>{named + L" (" + kWineStub32 + L") showed no eligible window within 5000 ms.",
                                             named + L" handed itself over to the 64 bit regedit process " + std::to_wstring(successor) +
                                                 L" (" + installedEditorPath() + L") and shows no window of its own. To use that editor, jump "
                                                 L"without the 32 bit switch (-32bit or -x86); a 32 bit Regedit cannot be shown this way.",
                                             L", Error code returned is: 0x20004"}),
                  run.errorMessages());
        endEditorsSince({stub.processId()});
    }
    // A launched editor whose window comes too late: the line alone, and bit 4.
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")), {{standin::knob::kWindowDelayMs, L"8000"}});
    const std::vector<DWORD> launched = runningEditorIds();
    ASSERT_EQ(1u, launched.size());
    EXPECT_EQ(ExitFlags::NoEligibleWindow, run.exitCode());
    EXPECT_EQ((std::vector<std::wstring>{L", The regedit process " + std::to_wstring(launched[0]) + L" (" + installedEditorPath() +
                                             L") showed no eligible window within 5000 ms.", L", Error code returned is: 0x4"}),
              run.errorMessages());
    endEditorsSince({});
}
