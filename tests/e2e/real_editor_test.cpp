// The real hivescout.exe against Wine's own registry editor, which keeps its tree and list
// in an inner window, started from the bench's copy outside the Windows directory (and the
// stand-in where said): what each jump reports and returns, and what the editor shows then.
#include <cstring>

#include "base/exit_flags.h"
#include "tests/support/jump_fixture.h"

namespace {

using Lines = std::vector<std::wstring>;

// Puts the text on the clipboard as Unicode text; an empty text leaves it empty.
bool setClipboardText(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = text.empty() ? nullptr : ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (void* data = memory ? ::GlobalLock(memory) : nullptr) {
        std::memcpy(data, text.c_str(), bytes);
        ::GlobalUnlock(memory);
    }
    if (!::OpenClipboard(nullptr)) return false;
    const bool done = ::EmptyClipboard() && (text.empty() || ::SetClipboardData(CF_UNICODETEXT, memory));
    ::CloseClipboard();
    return done;
}

// A jump, what it returns and reports, and what the editor shows afterwards.
struct JumpRow {
    std::wstring arguments;
    std::uint32_t exitCode;
    Lines body, errors;                     // the body between the start and end lines
    std::wstring selectedKey, selectedRow;  // afterwards, when given; the row selected, focused and in view
    const wchar_t* clipboard = nullptr;     // put on the clipboard first, when given
};

const wchar_t* switchFor(const std::wstring& kind) {
    return kind == L"key" ? L"-jumptokey" : kind == L"value" ? L"-jumptovalue" : L"-jumpto";
}

// The path given as a target of the kind and found as a key or a value.
JumpRow found(const std::wstring& kind, const std::wstring& path, const std::wstring& as, const std::wstring& key,
              const std::wstring& row = {}) {
    const Lines body = {L", Jumping to " + kind + L": " + path, L", Jump to the " + as + L" was successfull"};
    return {switchWord(switchFor(kind), path), 0, body, {}, key, row};
}

// Not found: the passed-path line follows only when some name matched, and the key reached stays selected.
JumpRow notFound(const std::wstring& kind, const std::wstring& path, const std::wstring& passed,
                 const std::wstring& key = {}) {
    Lines body = {L", Jumping to " + kind + L": " + path, L", Jump to " + kind + L": " + path + L", FAILED."};
    if (!passed.empty()) body.push_back(L" The successfully passed path was : " + passed);
    const Lines errors = {L", The " + kind + L" was not found", L", Error code returned is: 0x400"};
    return {switchWord(switchFor(kind), path), ExitFlags::KeyNotFound, body, errors, key};
}

// The row's jump given by other words, with the clipboard's text when given.
JumpRow givenAs(const std::wstring& arguments, JumpRow row, const wchar_t* clipboard = nullptr) {
    row.arguments = arguments;
    row.clipboard = clipboard;
    return row;
}

// No path from the clipboard: no further editor is started.
JumpRow noPathOnTheClipboard(const wchar_t* clipboard, const std::wstring& why) {
    const Lines errors = {why, L", Error code returned is: 0x10", L", User did not specify a key/value to jump to."};
    return {L"-clipboard", ExitFlags::NoKeyGiven, {}, errors, {}, {}, clipboard};
}

void expectJump(const JumpRow& row, DWORD editor) {
    SCOPED_TRACE(toUtf8(row.arguments));
    ASSERT_TRUE(!row.clipboard || setClipboardText(row.clipboard));
    const HivescoutRun run = runHivescout(row.arguments);
    EXPECT_EQ(row.exitCode, run.exitCode());
    EXPECT_EQ(row.body, reportBody(run));
    EXPECT_EQ(row.errors, run.errorMessages());
    ASSERT_EQ(std::vector<DWORD>{editor}, runningEditorIds());
    EditorReader reader(editor);
    EXPECT_EQ(row.selectedKey, row.selectedKey.empty() ? L"" : reader.selectedKeyPath());
    EXPECT_EQ(row.selectedRow, row.selectedRow.empty() ? L"" : reader.selectedRow());
}

}  // namespace

using RealEditorJump = JumpFixture;

TEST_F(RealEditorJump, EveryTargetKindAndPathForm) {
    if (wineEditorPath().empty()) GTEST_SKIP() << "no copy of Wine's own editor in HIVESCOUT_WINE_EDITOR";
    const Editor wine(wineEditorPath());
    ASSERT_TRUE(wine.ready());
    EXPECT_NE(wine.mainWindow(), ::GetParent(findEditorControls(wine.processId()).tree)) << "views in an inner window";
    const Lines noValueName = {L", The value to jump to could not be found in the registry.",
                               L", Error code returned is: 0x40000"};
    const JumpRow rows[] = {
        noPathOnTheClipboard(L"", L", The clipboard holds no text to take the path from."),
        noPathOnTheClipboard(L" \r\n\\\\ \r\n", L", The clipboard text holds no registry path."),
        found(L"key/value", testPath(L"Shared"), L"key", testPath(L"Shared")),
        found(L"value", testPath(L"Trailing  "), L"value", L"", L"Trailing  "),
        found(L"key/value", testPath(L"\u00DCnic\u00F6de\\\u00E9t\u00E9"), L"value", L"", L"\u00E9t\u00E9"),
        found(L"key", testPath(L"Many\\key0599"), L"key", testPath(L"Many\\Key0599")),
        found(L"value", testPath(L"Rows\\row390"), L"value", testPath(L"Rows"), L"Row390"),
        notFound(L"key", testPath(L"Nested\\Missing\\Level3"), testPath(L"Nested\\"), testPath(L"Nested")),
        givenAs(L"NoSuchRoot", notFound(L"key/value", L"NoSuchRoot", L"")),
        {L"-jumptovalue=hkcu", ExitFlags::ValueNotFound, {L", Jumping to value: HKEY_CURRENT_USER"}, noValueName},
    };
    for (const JumpRow& row : rows) expectJump(row, wine.processId());
}

// The clipboard's first non-empty line, copied from the editor's address bar, letters in another case.
const wchar_t kCopiedFolder[] =
    L"\r\n \r\n\"Computer\\HKEY_CURRENT_USER\\Software\\HivescoutTest\\paths\\c:\\PROGRAM FILES\\app\\\"\r\nHKLM\r\n";

// Value names that are file and folder paths, in Wine's editor and in the stand-in, in paths
// given and copied in every form; one that names nothing keeps the report it always had. A
// minimised editor is restored and brought to the front on success only.
TEST_F(RealEditorJump, ValueNamesHoldingBackslashes) {
    const std::wstring key = testPath(L"Paths"), file = L"C:\\Program Files\\App\\app.exe";
    const std::wstring folder = L"C:\\Program Files\\App\\", bareFolder = key + L"\\" + folder;
    const JumpRow rows[] = {
        notFound(L"value", testPath(L"Paths\\C:\\Other\\x"), key + L"\\", key),
        found(L"value", key + L"\\" + file, L"value", key, file),
        givenAs(bareFolder, found(L"key/value", key + L"\\C:\\Program Files\\App", L"value", key, folder)),
        givenAs(L"-clipboard", found(L"key/value", testPath(L"paths\\c:\\PROGRAM FILES\\app"), L"value", key, folder),
                kCopiedFolder),
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
