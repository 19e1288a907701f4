// The real hivescout.exe against Wine's own registry editor, which keeps its tree and list
// in an inner window: the roads to an editor, what a jump reports and returns, and what
// the editor's own controls show afterwards. What a real editor cannot be made to do on
// demand (late controls, dying mid-walk, a second instance) runs against the stand-in.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "base/exit_flags.h"
#include "tests/e2e/jump_bench.h"

using namespace hivescout;

namespace {

// A key with numbered values; with the default row first, value i is row i.
RegistryKeySpec keyWithNumberedValues(const std::wstring& name, unsigned count) {
    RegistryKeySpec key{name, {}, {}};
    wchar_t number[16];
    for (unsigned index = 1; index <= count; ++index) {
        std::swprintf(number, 16, L"%03u", index);
        key.add(stringValue(std::wstring(L"Row") + number, L"x"));
    }
    return key;
}

// Puts the text on the clipboard as Unicode text; an empty text leaves it empty.
bool setClipboardText(const std::wstring& text) {
    if (!::OpenClipboard(nullptr)) return false;
    bool done = ::EmptyClipboard() != FALSE;
    if (done && !text.empty()) {
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
        void* data = memory ? ::GlobalLock(memory) : nullptr;
        if (data) {
            std::memcpy(data, text.c_str(), bytes);
            ::GlobalUnlock(memory);
        }
        done = data && ::SetClipboardData(CF_UNICODETEXT, memory);
        if (!done && memory) ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return done;
}

DWORD onlyEditor() {
    const auto editors = runningEditorIds();
    return editors.size() == 1 ? editors.front() : 0;
}

}  // namespace

class RealEditorJump : public JumpBench {
protected:
    bool installEditor() override { return installWineEditor(); }
    RegistryKeySpec testTree() const override {
        RegistryKeySpec tree = sampleTestTree();
        tree.add(keyWithNumberedSubkeys(L"Many", L"Key", 600, 4));
        tree.add(keyWithNumberedValues(L"Rows", 399));
        return tree;
    }
    // The selected row's name, "" when no row is both selected and focused.
    static std::wstring selectedAndFocusedRow(EditorReader& editor) {
        const int row = editor.nextRow(LVNI_SELECTED);
        std::wstring name;
        if (row < 0 || row != editor.nextRow(LVNI_FOCUSED) || !editor.rowText(row, name)) return L"";
        return name;
    }
};

TEST_F(RealEditorJump, LaunchesAnEditorWhenNoneRuns) {
    const HivescoutRun run = jump(switchWord(L"-jumptokey", L"hkcu\\Software\\HivescoutTest\\Nested\\Level2"));
    EXPECT_EQ(0u, run.exitCode());
    const std::vector<std::wstring> expected = {L", Jumping to key: " + testPath(L"Nested\\Level2"),
                                                L", Jump to the key was successfull"};
    EXPECT_EQ(expected, reportBody(run));
    EXPECT_TRUE(run.errorLines.empty());
    EXPECT_EQ(testPath(L"Nested\\Level2"), selectedKeyPathOf(onlyEditor()));
}

TEST_F(RealEditorJump, AdoptsARunningEditorWithoutRestartingIt) {
    WineEditor running;
    ASSERT_TRUE(running.ready());
    const HivescoutRun run = jump(L"hkcu\\Software\\HivescoutTest\\beta\\B");
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_EQ(L", Jump to the value was successfull", reportBody(run).back());
    EXPECT_EQ(std::vector<DWORD>{running.processId()}, runningEditorIds());
    EditorReader editor(running.processId());
    EXPECT_EQ(testPath(L"beta"), editor.selectedKeyPath());
    EXPECT_EQ(L"B", selectedAndFocusedRow(editor));
}

TEST_F(RealEditorJump, KeyOrValueTargetsNameWhatWasSelected) {
    WineEditor running;
    const HivescoutRun key = jump(switchWord(L"-jumpto", L"hkcu\\software\\hivescouttest\\gamma\\INNER"));
    EXPECT_EQ(0u, key.exitCode());
    const std::vector<std::wstring> keyLines = {L", Jumping to key/value: HKEY_CURRENT_USER\\software\\hivescouttest\\gamma\\INNER",
                                                L", Jump to the key was successfull"};
    EXPECT_EQ(keyLines, reportBody(key));
    EXPECT_EQ(testPath(L"GAMMA\\Inner"), selectedKeyPathOf(running.processId()));

    const HivescoutRun value = jump(switchWord(L"-jumptovalue", L"HKCU\\SOFTWARE\\HivescoutTest\\MIXEDCASE"));
    EXPECT_EQ(0u, value.exitCode());
    EXPECT_EQ(L", Jump to the value was successfull", reportBody(value).back());
    EditorReader editor(running.processId());
    EXPECT_EQ(L"MixedCase", selectedAndFocusedRow(editor));
}

TEST_F(RealEditorJump, AccentedCapitalsDoNotFold) {
    WineEditor running;
    const HivescoutRun run = jump(switchWord(L"-jumptovalue", testPath(L"\u00E4RGER")));
    EXPECT_EQ(ExitFlags::KeyNotFound, run.exitCode());
    EXPECT_EQ(L", The value was not found", run.errorMessages().at(0));
    // The key before the value matched, so it is the passed path.
    const std::vector<std::wstring> expected = {L", Jumping to value: " + testPath(L"\u00E4RGER"),
                                                L", Jump to value: " + testPath(L"\u00E4RGER") + L", FAILED.",
                                                L" The successfully passed path was : " + testPath() + L"\\"};
    EXPECT_EQ(expected, reportBody(run));
}

TEST_F(RealEditorJump, MissingMiddleKeyReportsThePassedPathAndKeepsItsParentSelected) {
    WineEditor running;
    const std::wstring target = testPath(L"Nested\\Missing\\Level3");
    const HivescoutRun run = jump(switchWord(L"-jumptokey", target));
    EXPECT_EQ(ExitFlags::KeyNotFound, run.exitCode());
    const std::vector<std::wstring> expected = {L", Jumping to key: " + target, L", Jump to key: " + target + L", FAILED.",
                                                L" The successfully passed path was : " + testPath(L"Nested") + L"\\"};
    EXPECT_EQ(expected, reportBody(run));
    const std::vector<std::wstring> errors = {L", The key was not found", L", Error code returned is: 0x400"};
    EXPECT_EQ(errors, run.errorMessages());
    EXPECT_EQ(testPath(L"Nested"), selectedKeyPathOf(running.processId()));
}

TEST_F(RealEditorJump, AKeyWinsOverAValueOfTheSameName) {
    WineEditor running;
    const HivescoutRun run = jump(switchWord(L"-jumpto", testPath(L"Shared")));
    EXPECT_EQ(0u, run.exitCode());
    EXPECT_EQ(L", Jump to the key was successfull", reportBody(run).back());
    EXPECT_EQ(testPath(L"Shared"), selectedKeyPathOf(running.processId()));
}

TEST_F(RealEditorJump, ValuesWithTrailingBlanksAndKeysWithoutValues) {
    WineEditor running;
    const HivescoutRun blanks = jump(switchWord(L"-jumptovalue", testPath(L"Trailing  ")));
    EXPECT_EQ(0u, blanks.exitCode());
    EditorReader editor(running.processId());
    EXPECT_EQ(L"Trailing  ", selectedAndFocusedRow(editor));

    const HivescoutRun empty = jump(switchWord(L"-jumptovalue", testPath(L"Empty\\Anything")));
    EXPECT_EQ(ExitFlags::KeyNotFound, empty.exitCode());
    EXPECT_EQ(L", The value was not found", empty.errorMessages().at(0));
}

TEST_F(RealEditorJump, ASingleNameThatIsNoRootKeyIsNotFound) {
    WineEditor running;
    const HivescoutRun run = jump(L"NoSuchRoot");
    EXPECT_EQ(ExitFlags::KeyNotFound, run.exitCode());
    EXPECT_EQ(L", The key/value was not found", run.errorMessages().at(0));
    // Nothing matched, so there is no passed-path line.
    EXPECT_EQ(L", Jump to key/value: NoSuchRoot, FAILED.", reportBody(run).back());
}

TEST_F(RealEditorJump, ValueTargetWithoutABackslashNamesNoValue) {
    WineEditor running;
    const HivescoutRun run = jump(L"-jumptovalue=hkcu");
    EXPECT_EQ(ExitFlags::ValueNotFound, run.exitCode());
    const std::vector<std::wstring> errors = {L", The value to jump to could not be found in the registry.",
                                              L", Error code returned is: 0x40000"};
    EXPECT_EQ(errors, run.errorMessages());
}

TEST_F(RealEditorJump, ReportLinesCarryNamesOutsideAscii) {
    WineEditor running;
    const std::wstring target = testPath(L"\u00DCnic\u00F6de\\\u00E9t\u00E9");
    const HivescoutRun run = jump(switchWord(L"-jumpto", target));
    EXPECT_EQ(0u, run.exitCode());
    const std::vector<std::wstring> expected = {L", Jumping to key/value: " + target, L", Jump to the value was successfull"};
    EXPECT_EQ(expected, reportBody(run));
    EditorReader editor(running.processId());
    EXPECT_EQ(L"\u00E9t\u00E9", selectedAndFocusedRow(editor));
}

TEST_F(RealEditorJump, TheLastOfSixHundredSiblingKeys) {
    WineEditor running;
    EXPECT_EQ(0u, jump(switchWord(L"-jumptokey", testPath(L"Many\\key0599"))).exitCode());
    EXPECT_EQ(testPath(L"Many\\Key0599"), selectedKeyPathOf(running.processId()));
}

TEST_F(RealEditorJump, AValueFarDownALongListIsSelectedFocusedAndInView) {
    WineEditor running;
    EXPECT_EQ(0u, jump(switchWord(L"-jumptovalue", testPath(L"Rows\\row390"))).exitCode());
    EditorReader editor(running.processId());
    EXPECT_EQ(testPath(L"Rows"), editor.selectedKeyPath());
    EXPECT_EQ(L"Row390", selectedAndFocusedRow(editor));
    EXPECT_EQ(390, editor.nextRow(LVNI_SELECTED));
    EXPECT_TRUE(editor.rowInView(390));
}

TEST_F(RealEditorJump, AMinimisedEditorIsRestoredOnSuccessOnly) {
    WineEditor running;
    ASSERT_TRUE(running.ready());
    const HWND window = running.mainWindow();
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(isMinimizedWindow(window));

    const HivescoutRun failed = jump(switchWord(L"-jumptokey", testPath(L"NotThere")));
    EXPECT_EQ(ExitFlags::KeyNotFound, failed.exitCode());
    EXPECT_TRUE(isMinimizedWindow(window));

    const HivescoutRun succeeded = jump(switchWord(L"-jumptokey", testPath(L"Alpha")));
    EXPECT_EQ(0u, succeeded.exitCode());
    EXPECT_FALSE(isMinimizedWindow(window));
    EXPECT_TRUE(isForegroundWindow(window));
}

TEST_F(RealEditorJump, CopiedPathFormsJumpAsTheirPlainForm) {
    WineEditor running;
    ASSERT_TRUE(running.ready());
    const std::wstring plain = testPath(L"Alpha");
    const std::wstring belowRoot = plain.substr(plain.find(L'\\') + 1);
    const struct {
        std::wstring copied;
        std::wstring plain;
    } rows[] = {
        {L"My Computer\\" + plain, plain},
        {L"HKCU:\\" + belowRoot, plain},
        {L"Microsoft.PowerShell.Core\\Registry::HKCU\\" + belowRoot, plain},
        {L"\\REGISTRY\\MACHINE\\Software", L"HKEY_LOCAL_MACHINE\\Software"},
        {L"[-" + plain + L"]", plain},
        {L"\"" + plain + L"\"\r\n", plain},
    };
    for (const auto& row : rows) {
        const HivescoutRun run = jump(switchWord(L"-jumpto", row.copied));
        EXPECT_EQ(0u, run.exitCode()) << row.copied;
        EXPECT_EQ(L", Jumping to key/value: " + row.plain, reportBody(run).at(0));
        EXPECT_EQ(row.plain, selectedKeyPathOf(running.processId()));
    }
}

TEST_F(RealEditorJump, ClipboardTextNamesAKeyOrAValue) {
    WineEditor running;
    ASSERT_TRUE(running.ready());
    ASSERT_TRUE(setClipboardText(L"\r\n \r\n\"Computer\\" + testPath(L"gamma\\INNER") + L"\"\r\nHKLM\\Other\r\n"));
    const HivescoutRun key = jump(L"-clipboard");
    EXPECT_EQ(0u, key.exitCode());
    const std::vector<std::wstring> keyLines = {L", Jumping to key/value: " + testPath(L"gamma\\INNER"),
                                                L", Jump to the key was successfull"};
    EXPECT_EQ(keyLines, reportBody(key));
    EXPECT_EQ(testPath(L"GAMMA\\Inner"), selectedKeyPathOf(running.processId()));

    const std::wstring value = testPath(L"beta\\B");
    ASSERT_TRUE(setClipboardText(L"HKCU:" + value.substr(value.find(L'\\'))));
    const HivescoutRun valueRun = jump(L"-Clipboard words=ignored");
    EXPECT_EQ(0u, valueRun.exitCode());
    EXPECT_EQ(L", Jump to the value was successfull", reportBody(valueRun).back());
    EditorReader editor(running.processId());
    EXPECT_EQ(L"B", selectedAndFocusedRow(editor));
}

TEST_F(RealEditorJump, AClipboardWithoutAPathTouchesNoEditor) {
    const struct {
        const wchar_t* text;
        const wchar_t* error;
    } rows[] = {{L"", L", The clipboard holds no text to take the path from."},
                {L" \r\n\\\\ \r\n", L", The clipboard text holds no registry path."}};
    for (const auto& row : rows) {
        ASSERT_TRUE(setClipboardText(row.text));
        const HivescoutRun run = jump(L"-clipboard");
        EXPECT_EQ(ExitFlags::NoKeyGiven, run.exitCode());
        const std::vector<std::wstring> errors = {row.error, L", Error code returned is: 0x10",
                                                  L", User did not specify a key/value to jump to."};
        EXPECT_EQ(errors, run.errorMessages());
        EXPECT_TRUE(reportBody(run).empty());
        EXPECT_TRUE(runningEditorIds().empty());
    }
}

using JumpTest = JumpBench;

TEST_F(JumpTest, MultipleInstancesSwitchStartsAFurtherEditor) {
    Standin running;
    ASSERT_TRUE(running.ready());
    const HivescoutRun run = jump(L"-m " + switchWord(L"-jumptokey", L"HKCU\\Software\\HivescoutTest\\Alpha"));
    EXPECT_EQ(0u, run.exitCode());
    const auto editors = runningEditorIds();
    ASSERT_EQ(2u, editors.size());
    EXPECT_NE(testPath(L"Alpha"), selectedKeyPathOf(running.processId()));
    EXPECT_EQ(testPath(L"Alpha"), selectedKeyPathOf(editors[0] == running.processId() ? editors[1] : editors[0]));
}

TEST_F(JumpTest, AnEditorEndingInsideAnItemQueryIsAReadFailure) {
    const std::wstring readLine = L", Error occurred while reading the regedit process memory. Error returned was : ";
    const struct {
        const wchar_t* target;
        const wchar_t* exitOn;
        std::uint32_t readFailed;
    } cases[] = {{L"-jumptokey", L"tree:2", ExitFlags::KeyNotFound | ExitFlags::CommunicationError128},
                 {L"-jumptovalue", L"list:1", ExitFlags::KeyNotFound | ExitFlags::CommunicationError512}};
    for (const auto& c : cases) {
        Standin running(withKnobs({{standin::knob::kExitOnItemRead, c.exitOn}}));
        ASSERT_TRUE(running.ready());
        const HivescoutRun run = jump(switchWord(c.target, testPath(L"Alpha\\A")));
        EXPECT_EQ(c.readFailed | ExitFlags::RegeditTerminated, run.exitCode()) << c.target;
        const auto errors = run.errorMessages();
        ASSERT_GE(errors.size(), 4u) << c.target;
        EXPECT_EQ(readLine, errors[0].substr(0, readLine.size()));
        // The system text of the read failure ends in its own line break.
        EXPECT_EQ(L", Regedit terminated unexpectedly before the jump could be completed.", errors[2]);
        EXPECT_EQ(L", Regedit was terminated before the jump was completed.", errors.back());
    }
}

TEST_F(JumpTest, ControlsCreatedLateAreWaitedFor) {
    const HivescoutRun run = jump(switchWord(L"-jumptokey", testPath(L"Alpha")),
                                  {{standin::knob::kControlsDelayMs, L"300"}});
    EXPECT_EQ(0u, run.exitCode());
}

TEST_F(JumpTest, ATreeWithoutAListIsNoEligibleWindow) {
    const std::wstring target = testPath(L"Alpha");
    const HivescoutRun run = jump(switchWord(L"-jumptokey", target), {{standin::knob::kListPlacement, L"none"}});
    EXPECT_EQ(ExitFlags::CommunicationSetupFailed | ExitFlags::NoEligibleWindow, run.exitCode());
    EXPECT_EQ(std::vector<std::wstring>{L", Jump to key: " + target + L", FAILED."}, reportBody(run));
    const std::vector<std::wstring> errors = {L", Failed to find eligible Regedit window.",
                                              L", Error code returned is: 0x24",
                                              L", Unable to acquire the handles needed to perform the jump. "};
    EXPECT_EQ(errors, run.errorMessages());
}
