// The real hivescout.exe against Wine's own registry editor, which keeps its tree and list
// in an inner window, started from the bench's copy outside the Windows directory: what
// each jump reports and returns, and what the editor's own controls show afterwards.
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

// The clipboard gave no path: its line, then the missing target's.
std::vector<std::wstring> noPathErrors(const std::wstring& line) {
    return {line, L", Error code returned is: 0x10", L", User did not specify a key/value to jump to."};
}

const std::vector<std::wstring> none;

}  // namespace

using RealEditorJump = JumpFixture;

TEST_F(RealEditorJump, EveryTargetKindAndPathForm) {
    if (wineEditorPath().empty()) GTEST_SKIP() << "no copy of Wine's own editor in HIVESCOUT_WINE_EDITOR (scripts/test keeps one)";
    const Editor wine(wineEditorPath());
    ASSERT_TRUE(wine.ready() && ::GetParent(findEditorControls(wine.processId()).tree) != wine.mainWindow());  // views in an inner window
    const std::wstring plain = testPath(L"Alpha");
    const std::wstring value = testPath(L"beta\\B"), wrongCase = L"HKEY_CURRENT_USER\\software\\hivescouttest\\gamma\\INNER";
    const std::wstring accented = testPath(L"\u00E4RGER"), missing = testPath(L"Nested\\Missing\\Level3");
    const std::wstring unicode = testPath(L"\u00DCnic\u00F6de\\\u00E9t\u00E9"), empty = testPath(L"Empty\\Anything");
    const std::wstring mixed = L"HKEY_CURRENT_USER\\SOFTWARE\\HivescoutTest\\MIXEDCASE";
    const struct {
        const wchar_t* clipboard;  // put on the clipboard first, when given
        std::wstring arguments;
        std::uint32_t exitCode;
        std::vector<std::wstring> body;  // between the start and end lines
        std::wstring selectedKey = {};  // afterwards in the editor, when given
        std::wstring selectedRow = {};  // selected, focused and in view, when given
        std::vector<std::wstring> errors = {};
    } rows[] = {
        // No path on the clipboard: no further editor is started.
        {L"", L"-clipboard", ExitFlags::NoKeyGiven, none, L"", L"",
         noPathErrors(L", The clipboard holds no text to take the path from.")},
        {L" \r\n\\\\ \r\n", L"-clipboard", ExitFlags::NoKeyGiven, none, L"", L"",
         noPathErrors(L", The clipboard text holds no registry path.")},
        {nullptr, switchWord(L"-jumptokey", L"hkcu\\Software\\HivescoutTest\\Nested\\Level2"), 0,
         succeeded(L"key", testPath(L"Nested\\Level2"), L"key"), testPath(L"Nested\\Level2")},
        {nullptr, L"hkcu\\Software\\HivescoutTest\\beta\\B", 0, succeeded(L"key/value", value, L"value"),
         testPath(L"beta"), L"B"},
        {nullptr, switchWord(L"-jumpto", wrongCase), 0, succeeded(L"key/value", wrongCase, L"key"), testPath(L"GAMMA\\Inner")},
        {nullptr, switchWord(L"-jumptovalue", L"HKCU\\SOFTWARE\\HivescoutTest\\MIXEDCASE"), 0,
         succeeded(L"value", mixed, L"value"), L"", L"MixedCase"},
        {nullptr, switchWord(L"-jumpto", testPath(L"Shared")), 0, succeeded(L"key/value", testPath(L"Shared"), L"key"),
         testPath(L"Shared")},
        {nullptr, switchWord(L"-jumptovalue", testPath(L"Trailing  ")), 0,
         succeeded(L"value", testPath(L"Trailing  "), L"value"), L"", L"Trailing  "},
        {nullptr, switchWord(L"-jumpto", unicode), 0, succeeded(L"key/value", unicode, L"value"), L"", L"\u00E9t\u00E9"},
        {nullptr, switchWord(L"-jumptokey", testPath(L"Many\\key0599")), 0,
         succeeded(L"key", testPath(L"Many\\key0599"), L"key"), testPath(L"Many\\Key0599")},
        {nullptr, switchWord(L"-jumptovalue", testPath(L"Rows\\row390")), 0,
         succeeded(L"value", testPath(L"Rows\\row390"), L"value"), testPath(L"Rows"), L"Row390"},
        // Accented capitals do not fold; the key before the value is the passed path.
        {nullptr, switchWord(L"-jumptovalue", accented), ExitFlags::KeyNotFound,
         notFound(L"value", accented, testPath() + L"\\"), L"", L"", notFoundErrors(L"value")},
        {nullptr, switchWord(L"-jumptokey", missing), ExitFlags::KeyNotFound,
         notFound(L"key", missing, testPath(L"Nested\\")), testPath(L"Nested"), L"", notFoundErrors(L"key")},
        {nullptr, switchWord(L"-jumptovalue", empty), ExitFlags::KeyNotFound, notFound(L"value", empty, testPath(L"Empty\\")),
         testPath(L"Empty"), L"", notFoundErrors(L"value")},
        {nullptr, L"NoSuchRoot", ExitFlags::KeyNotFound, notFound(L"key/value", L"NoSuchRoot", L""), L"", L"",
         notFoundErrors(L"key/value")},
        {nullptr, L"-jumptovalue=hkcu", ExitFlags::ValueNotFound, {L", Jumping to value: HKEY_CURRENT_USER"}, L"", L"",
         {L", The value to jump to could not be found in the registry.", L", Error code returned is: 0x40000"}},
        // A path as users copy it jumps as its plain form (the forms are the unit tests').
        {nullptr, switchWord(L"-jumpto", L"[-" + plain + L"]"), 0, succeeded(L"key/value", plain, L"key"), plain},
        // The clipboard's first non-empty line; words after the switch are ignored.
        {L"\r\n \r\n\"Computer\\HKEY_CURRENT_USER\\Software\\HivescoutTest\\gamma\\INNER\"\r\nHKLM\\Other\r\n", L"-clipboard", 0,
         succeeded(L"key/value", testPath(L"gamma\\INNER"), L"key"), testPath(L"GAMMA\\Inner")},
        {L"HKCU:\\Software\\HivescoutTest\\beta\\B", L"-Clipboard words=ignored", 0,
         succeeded(L"key/value", value, L"value"), L"", L"B"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.arguments));
        ASSERT_TRUE(!row.clipboard || setClipboardText(row.clipboard));
        const HivescoutRun run = jump(row.arguments);
        EXPECT_EQ(row.exitCode, run.exitCode());
        EXPECT_EQ(row.body, reportBody(run));
        EXPECT_EQ(row.errors, run.errorMessages());
        ASSERT_EQ(std::vector<DWORD>{wine.processId()}, runningEditorIds());
        EditorReader editor(wine.processId());
        if (!row.selectedKey.empty()) { EXPECT_EQ(row.selectedKey, editor.selectedKeyPath()); }
        if (!row.selectedRow.empty()) { EXPECT_EQ(row.selectedRow, editor.selectedRow()); }
    }

    // A minimised editor is restored and brought to the front on success only.
    const HWND window = wine.mainWindow();
    ::ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(window));
    EXPECT_EQ(ExitFlags::KeyNotFound, jump(switchWord(L"-jumptokey", testPath(L"NotThere"))).exitCode());
    EXPECT_TRUE(::IsIconic(window));
    EXPECT_EQ(0u, jump(switchWord(L"-jumptokey", plain)).exitCode());
    EXPECT_FALSE(::IsIconic(window));
    EXPECT_EQ(window, ::GetForegroundWindow());
}
