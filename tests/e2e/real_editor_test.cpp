// The real hivescout.exe against Wine's own registry editor, which keeps its tree and list
// in an inner window, started from the bench's copy outside the Windows directory (and the
// stand-in where said): what each jump reports and returns, and what the editor shows then.
#include <cstring>

#include "base/exit_flags.h"
#include "tests/support/jump_fixture.h"

namespace {

// Puts the text on the clipboard as Unicode text; an empty text leaves it empty.
bool setClipboardText(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = text.empty() ? nullptr : ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (void* data = memory ? ::GlobalLock(memory) : nullptr) std::memcpy(data, text.c_str(), bytes), ::GlobalUnlock(memory);
    const bool done = ::OpenClipboard(nullptr) && ::EmptyClipboard() && (text.empty() || ::SetClipboardData(CF_UNICODETEXT, memory));
    return ::CloseClipboard(), done;
}

std::vector<std::wstring> succeeded(const std::wstring& kind, const std::wstring& path, const std::wstring& found) {
    return {L", Jumping to " + kind + L": " + path, L", Jump to the " + found + L" was successfull"};
}

// Not found: the passed-path line follows only when some name matched.
std::vector<std::wstring> notFound(const std::wstring& kind, const std::wstring& path, const std::wstring& passed) {
    std::vector<std::wstring> lines = {L", Jumping to " + kind + L": " + path, L", Jump to " + kind + L": " + path + L", FAILED."};
    if (!passed.empty()) lines.push_back(L" The successfully passed path was : " + passed);
    return lines;
}

std::vector<std::wstring> notFoundErrors(const std::wstring& kind) {
    return {L", The " + kind + L" was not found", L", Error code returned is: 0x400"};
}

// A jump, what it returns and reports, and what the editor shows afterwards.
struct JumpRow {
    const wchar_t* clipboard;  // put on the clipboard first, when given
    std::wstring arguments;
    std::uint32_t exitCode;
    std::vector<std::wstring> body;  // between the start and end lines
    std::vector<std::wstring> errors;
    std::wstring selectedKey = {};  // afterwards in the editor, when given
    std::wstring selectedRow = {};  // selected, focused and in view, when given
};

void expectJump(const JumpRow& row, DWORD editor) {
    SCOPED_TRACE(toUtf8(row.arguments));
    ASSERT_TRUE(!row.clipboard || setClipboardText(row.clipboard));
    const HivescoutRun run = runHivescout(row.arguments);
    EXPECT_EQ(row.exitCode, run.exitCode());
    EXPECT_EQ(row.body, reportBody(run));
    EXPECT_EQ(row.errors, run.errorMessages());
    ASSERT_EQ(std::vector<DWORD>{editor}, runningEditorIds());
    EditorReader reader(editor);
    if (!row.selectedKey.empty()) { EXPECT_EQ(row.selectedKey, reader.selectedKeyPath()); }
    if (!row.selectedRow.empty()) { EXPECT_EQ(row.selectedRow, reader.selectedRow()); }
}

}  // namespace

using RealEditorJump = JumpFixture;

TEST_F(RealEditorJump, EveryTargetKindAndPathForm) {
    if (wineEditorPath().empty()) GTEST_SKIP() << "no copy of Wine's own editor in HIVESCOUT_WINE_EDITOR (scripts/test keeps one)";
    const Editor wine(wineEditorPath());
    ASSERT_TRUE(wine.ready() && ::GetParent(findEditorControls(wine.processId()).tree) != wine.mainWindow());  // views in an inner window
    const std::wstring missing = testPath(L"Nested\\Missing\\Level3"), unicode = testPath(L"\u00DCnic\u00F6de\\\u00E9t\u00E9");
    const JumpRow rows[] = {
        // No path on the clipboard: no further editor is started.
        {L"", L"-clipboard", ExitFlags::NoKeyGiven, {},
         {L", The clipboard holds no text to take the path from.", L", Error code returned is: 0x10",
          L", User did not specify a key/value to jump to."}},
        {L" \r\n\\\\ \r\n", L"-clipboard", ExitFlags::NoKeyGiven, {},
         {L", The clipboard text holds no registry path.", L", Error code returned is: 0x10",
          L", User did not specify a key/value to jump to."}},
        {nullptr, switchWord(L"-jumpto", testPath(L"Shared")), 0, succeeded(L"key/value", testPath(L"Shared"), L"key"), {},
         testPath(L"Shared")},
        {nullptr, switchWord(L"-jumptovalue", testPath(L"Trailing  ")), 0,
         succeeded(L"value", testPath(L"Trailing  "), L"value"), {}, L"", L"Trailing  "},
        {nullptr, switchWord(L"-jumpto", unicode), 0, succeeded(L"key/value", unicode, L"value"), {}, L"", L"\u00E9t\u00E9"},
        {nullptr, switchWord(L"-jumptokey", testPath(L"Many\\key0599")), 0,
         succeeded(L"key", testPath(L"Many\\key0599"), L"key"), {}, testPath(L"Many\\Key0599")},
        {nullptr, switchWord(L"-jumptovalue", testPath(L"Rows\\row390")), 0,
         succeeded(L"value", testPath(L"Rows\\row390"), L"value"), {}, testPath(L"Rows"), L"Row390"},
        {nullptr, switchWord(L"-jumptokey", missing), ExitFlags::KeyNotFound,
         notFound(L"key", missing, testPath(L"Nested\\")), notFoundErrors(L"key"), testPath(L"Nested")},
        {nullptr, L"NoSuchRoot", ExitFlags::KeyNotFound, notFound(L"key/value", L"NoSuchRoot", L""),
         notFoundErrors(L"key/value")},
        {nullptr, L"-jumptovalue=hkcu", ExitFlags::ValueNotFound, {L", Jumping to value: HKEY_CURRENT_USER"},
         {L", The value to jump to could not be found in the registry.", L", Error code returned is: 0x40000"}},
    };
    for (const JumpRow& row : rows) expectJump(row, wine.processId());
}

// Value names that are file and folder paths, in Wine's editor and in the stand-in, in paths
// given and copied in every form; one that names nothing keeps the report it always had. A
// minimised editor is restored and brought to the front on success only.
TEST_F(RealEditorJump, ValueNamesHoldingBackslashes) {
    const std::wstring key = testPath(L"Paths"), file = L"C:\\Program Files\\App\\app.exe", folder = L"C:\\Program Files\\App\\";
    const std::wstring nothing = testPath(L"Paths\\C:\\Other\\x");
    const JumpRow rows[] = {
        {nullptr, switchWord(L"-jumptovalue", nothing), ExitFlags::KeyNotFound, notFound(L"value", nothing, key + L"\\"),
         notFoundErrors(L"value"), key},
        {nullptr, switchWord(L"-jumptovalue", key + L"\\" + file), 0, succeeded(L"value", key + L"\\" + file, L"value"), {}, key, file},
        {nullptr, L"hkcu\\Software\\HivescoutTest\\Paths\\" + folder, 0, succeeded(L"key/value", key + L"\\C:\\Program Files\\App", L"value"),
         {}, key, folder},
        // The clipboard's first non-empty line, copied from the editor's address bar, letters in another case.
        {L"\r\n \r\n\"Computer\\HKEY_CURRENT_USER\\Software\\HivescoutTest\\paths\\c:\\PROGRAM FILES\\app\\\"\r\nHKLM\\Other\r\n",
         L"-clipboard", 0, succeeded(L"key/value", testPath(L"paths\\c:\\PROGRAM FILES\\app"), L"value"), {}, key, folder},
    };
    for (const std::wstring& program : {wineEditorPath(), standinPath()}) {
        if (program.empty()) continue;  // no copy of Wine's own editor
        const Editor editor(program);
        ASSERT_TRUE(editor.ready());
        ::ShowWindow(editor.mainWindow(), SW_MINIMIZE);
        for (const JumpRow& row : rows) {
            expectJump(row, editor.processId());
            EXPECT_EQ(row.exitCode != 0, ::IsIconic(editor.mainWindow()) != FALSE);
        }
        EXPECT_EQ(editor.mainWindow(), ::GetForegroundWindow());
    }
}
