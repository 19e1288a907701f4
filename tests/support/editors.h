#pragma once
// The editors of the tests: the stand-in and Wine's own regedit.exe, started from where they lie (never copied into
// the Windows directory) and read through their own controls.
#include <windows.h>
#include <commctrl.h>

#include "base/handle.h"
#include "tests/support/process_runner.h"  // and strings, vectors and maps
#include "tools/standin/standin_channel.h"

using namespace hivescout;

// <Windows directory>\regedit.exe, which every start of "regedit.exe" runs.
inline std::wstring installedEditorPath() { return _wgetenv(L"SystemRoot") + std::wstring(L"\\regedit.exe"); }
// The stand-ins as built, under the editor's name.
inline std::wstring standinPath() { return ownDirectory() + L"standin\\regedit.exe"; }
inline std::wstring standin32Path() { return ownDirectory() + L"standin32\\regedit.exe"; }
// <Windows directory>\syswow64\regedit.exe, where the bench of scripts/test puts the 32-bit stand-in.
inline std::wstring editor32Path() {
    return installedEditorPath().insert(installedEditorPath().rfind(L'\\'), L"\\syswow64");
}
// Wine's own, kept outside the Windows directory by the bench; or "".
inline std::wstring wineEditorPath() {
    return _wgetenv(L"HIVESCOUT_WINE_EDITOR") ? _wgetenv(L"HIVESCOUT_WINE_EDITOR") : L"";
}
std::string standinNotInstalled();  // why the stand-in is not the system's editor (the bench's doing); or ""
std::vector<DWORD> runningEditorIds();
std::string foreignEditor();            // "process 42", the first editor running; or ""
void endEditorsExcept(DWORD keep = 0);  // waiting for each end

struct EditorControls {
    HWND mainWindow = nullptr;            // the process's top-level "RegEdit_RegEdit" window
    HWND tree = nullptr, list = nullptr;  // the first tree and list anywhere below it
    bool found() const { return mainWindow && tree && list; }
};
EditorControls findEditorControls(DWORD processId);

// An editor program (the stand-in unless another is given) started with the knobs in its environment and ended with
// the object; ready once its controls exist.
class Editor {
public:
    explicit Editor(const std::map<std::wstring, std::wstring>& knobs = {}) : Editor(standinPath(), knobs) {}
    explicit Editor(const std::wstring& program, const std::map<std::wstring, std::wstring>& knobs = {});
    bool ready() const { return controls_.found(); }
    DWORD processId() const { return process_.processId(); }
    HANDLE process() const { return process_.handle(); }
    HWND mainWindow() const { return controls_.mainWindow; }
    bool hasEnded() const { return ::WaitForSingleObject(process_.handle(), 0) != WAIT_TIMEOUT; }

private:
    RunningProcess process_;
    EditorControls controls_;
};

// Reads an editor's controls through memory placed in its process, in item records laid out for its bitness.
class EditorReader {
public:
    explicit EditorReader(DWORD processId);
    ~EditorReader();
    // The selected item's path below the root item, "HKEY_CURRENT_USER\Software" say.
    std::wstring selectedKeyPath();
    // The name of the row selected, focused and in view, "" when there is none.
    std::wstring selectedRow();

private:
    // The record as 32-bit words: the leading ones given, then the text pointer and its capacity, the pointer 64 bits
    // wide and aligned for a 64-bit editor.
    std::wstring itemText(HWND control, UINT message, std::vector<std::uint32_t> words);
    EditorControls controls_;
    BOOL is32Bit_ = FALSE;
    UniqueHandle process_;
    char* block_ = nullptr;  // in the editor: the text, then the item record
};

using standin::RecordedMessage;
std::vector<RecordedMessage> recordedMessages(const std::wstring& recordPath);
// The regions of a process that are reserved or committed.
std::vector<MEMORY_BASIC_INFORMATION> regionsInUse(HANDLE process);

// An entry of an expected sequence, as in Wine's message tests: the control and the message are always compared, a
// parameter only when flagged; an optional entry is a message an editor may or may not get.
enum MessageFlags : unsigned { wparam = 1, lparam = 2, optional = 4 };
struct ExpectedMessage {
    RecordedMessage message;
    unsigned flags;
};
// "" when the messages follow the table, optional entries skipped where absent; otherwise the table, each entry not
// found in its place marked, and the messages recorded.
std::string compareMessages(const std::vector<ExpectedMessage>& expected, const std::vector<RecordedMessage>& actual);
