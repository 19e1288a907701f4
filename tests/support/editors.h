#pragma once
// The editors of the Wine session: Wine's own regedit.exe and the stand-in, installed as
// the prefix's regedit.exe, started and ended, and read through their own controls.
#include <windows.h>
#include <commctrl.h>

#include <ostream>

#include "base/handle.h"
#include "tests/support/process_runner.h"  // and strings, vectors and maps
#include "tools/standin/standin_channel.h"

using namespace hivescout;

// <Windows directory>\regedit.exe, which every start of "regedit.exe" runs.
std::wstring installedEditorPath();
// Puts the stand-in (built next to the test program, in "standin") or Wine's own editor
// (saved the first time it is replaced) there; true when it is in place.
bool installStandin();
bool installWineEditor();
std::vector<DWORD> runningEditorIds();
// Ends every running regedit.exe; true when none is left.
bool killAllEditors();

struct EditorControls {
    HWND mainWindow = nullptr;  // the process's top-level "RegEdit_RegEdit" window
    HWND tree = nullptr, list = nullptr;  // the first tree and list anywhere below it
    bool found() const { return mainWindow && tree && list; }
};
EditorControls findEditorControls(DWORD processId);

// The installed editor started with the knobs in its environment; ready once its controls exist.
class Editor {
public:
    explicit Editor(const std::map<std::wstring, std::wstring>& knobs = {}) : Editor(installedEditorPath(), knobs) {}
    // The given program (the 32-bit editor, say) with the knobs.
    Editor(const std::wstring& program, const std::map<std::wstring, std::wstring>& knobs);
    bool ready() const { return controls_.found(); }
    DWORD processId() const { return process_.processId(); }
    HANDLE process() const { return process_.handle(); }
    HWND mainWindow() const { return controls_.mainWindow; }
    bool hasEnded() const { return ::WaitForSingleObject(process_.handle(), 0) != WAIT_TIMEOUT; }

private:
    RunningProcess process_;
    EditorControls controls_;
};

// Reads an editor's controls through memory placed in its process, in item records laid
// out for its bitness.
class EditorReader {
public:
    explicit EditorReader(DWORD processId);
    ~EditorReader();
    EditorReader(const EditorReader&) = delete;
    EditorReader& operator=(const EditorReader&) = delete;
    // The selected item's path below the root item, "HKEY_CURRENT_USER\Software" say.
    std::wstring selectedKeyPath();
    // The name of the row selected, focused and in view, "" when there is none.
    std::wstring selectedRow();

private:
    // The record as 32-bit words: the leading ones given, then the text pointer and its
    // capacity, the pointer 64 bits wide and aligned for a 64-bit editor.
    std::wstring itemText(HWND control, UINT message, std::vector<std::uint32_t> words);
    EditorControls controls_;
    BOOL is32Bit_ = FALSE;
    UniqueHandle process_;
    char* block_ = nullptr;  // in the editor: the text, then the item record
};

// One message of the stand-in's record; equal when control, message and parameters are.
struct StandinMessage {
    standin::Control control;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const StandinMessage& other) const {
        return control == other.control && message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};
void PrintTo(const StandinMessage& message, std::ostream* out);
std::vector<StandinMessage> recordedMessages(const std::wstring& recordPath);
