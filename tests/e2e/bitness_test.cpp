// The real hivescout.exe with 32-bit editors: the 32-bit stand-in, placed by the test bench
// as syswow64\regedit.exe, and Wine's own 32-bit editor, which the bench keeps elsewhere.

#include "base/exit_flags.h"
#include "tests/support/jump_fixture.h"

namespace {

const std::wstring kWineStub32 = L"C:\\hivescout-bench\\wine32\\regedit.exe";

// Why the 32-bit editors cannot be tested here, or "" when they can. The scripts tell
// whether the machine runs 32-bit programs (a Unix matter that Wine cannot see).
std::string missing32BitCause() {
    const wchar_t* runs32 = _wgetenv(L"HIVESCOUT_MACHINE_RUNS_32BIT");
    if (runs32 && std::wstring(runs32) == L"no") return "this machine's kernel refuses 32-bit programs";
    if (readFileBytes(kWineStub32).empty()) return "Wine's 32-bit half is missing (the prefix has no 32-bit editor)";
    if (readFileBytes(standin32Path()).empty()) return "the i686 compiler is missing (no 32-bit stand-in was built)";
    if (readFileBytes(editor32Path()) != readFileBytes(standin32Path())) return "syswow64 holds no 32-bit stand-in";
    return "";
}

const std::wstring kBlocks = L" bit version of regedit.exe working at the moment and it prevents running a new ";
const std::wstring kInstances = L". You can try the multiple instances switch (-MultipleInstances or -M)";
using Lines = std::vector<std::wstring>;

}  // namespace

class Bitness : public JumpFixture {
protected:
    void SetUp() override {
        JumpFixture::SetUp();
        const std::string cause = missing32BitCause();
        if (!cause.empty()) GTEST_SKIP() << "32-bit editors cannot be tested: " << cause;
    }
};

TEST_F(Bitness, EditorsOfTheBitnessAskedForAreDrivenOthersAreAConflict) {
    const Lines running32Blocks = {L", There is a 32" + kBlocks + L"64 bit version of regedit" + kInstances +
                                       L" or close all running 32 bit regedits' windows.",
                                   L", Error code returned is: 0x10000"};
    const Lines running64Blocks = {L", There is a 64" + kBlocks + L"32 bit version of regedit.exe" + kInstances +
                                       L", the 64 bit version of Regedit or close all running 64 bit Regedits",
                                   L", Error code returned is: 0x20000"};
    // The editor running before the jump (its bitness, or 0 for none) and the switches: the
    // editor driven and read back (the key, and the row selected, focused and in view), or the
    // conflict's exit code and lines.
    const std::tuple<int, const wchar_t*, std::wstring, std::wstring, std::uint32_t, Lines> rows[] = {
        {0, L"-32bit ", testPath(L"Alpha"), L"", 0, {}},
        {32, L"-x86 ", testPath(L"Alpha\\A"), L"A", 0, {}},
        {32, L"-32bit -64bit ", testPath(L"beta\\B"), L"B", 0, {}},
        {64, L"-x86 -x64 ", testPath(L"GAMMA\\Inner"), L"", 0, {}},
        {32, L"", testPath(L"Alpha"), L"", 0x10000, running32Blocks},
        {64, L"-32bit ", testPath(L"Alpha"), L"", 0x20000, running64Blocks},
    };
    for (const auto& [bits, switches, path, row, exitCode, errors] : rows) {
        SCOPED_TRACE(toUtf8(switches + path));
        const auto running = bits ? std::make_unique<Editor>(bits == 32 ? standin32Path() : standinPath()) : nullptr;
        ASSERT_TRUE(!running || running->ready());
        const HivescoutRun run = jump(switches + switchWord(row.empty() ? L"-jumptokey" : L"-jumptovalue", path));
        const std::vector<DWORD> editors = runningEditorIds();
        ASSERT_EQ(1u, editors.size());
        BOOL is32Bit = FALSE;
        ASSERT_TRUE(::IsWow64Process(UniqueHandle(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, editors[0])).get(),
                                     &is32Bit));
        EXPECT_EQ(bits != 64, is32Bit != FALSE);
        EXPECT_EQ(exitCode, run.exitCode());
        EXPECT_EQ(errors, run.errorMessages());
        if (exitCode) continue;
        EditorReader reader(editors[0]);
        EXPECT_EQ(row.empty() ? path : path.substr(0, path.rfind(L'\\')), reader.selectedKeyPath());
        EXPECT_EQ(row, reader.selectedRow());
        endEditorsExcept();
    }
}

// An editor that shows no window is named with the time waited for it (launched or adopted
// alike); Wine's 32-bit editor, which starts the 64-bit one and waits, as having handed over.
TEST_F(Bitness, AnEditorWithoutAWindowIsNamedAndAHandoverExplained) {
    RunningProcess stub(quoteArgument(kWineStub32));
    const HivescoutRun run = jump(L"-32bit " + switchWord(L"-jumptokey", testPath(L"Alpha")));
    DWORD successor = 0;
    for (DWORD id : runningEditorIds()) successor = id == stub.processId() ? successor : id;
    EXPECT_EQ(0x20004u, run.exitCode());
    const std::wstring named = L", The regedit process " + std::to_wstring(stub.processId());
    const std::wstring successorNamed = std::to_wstring(successor) + L" (" + installedEditorPath() + L")";
    const std::vector<std::wstring> errors = {
        named + L" (" + kWineStub32 + L") showed no eligible window within 5000 ms.",
        named + L" handed itself over to the 64 bit regedit process " + successorNamed +
            L" and shows no window of its own. To use that editor, jump without the 32 bit switch (-32bit or -x86);"
            L" a 32 bit Regedit cannot be shown this way.",
        L", Error code returned is: 0x20004"};
    EXPECT_EQ(errors, run.errorMessages());
}
