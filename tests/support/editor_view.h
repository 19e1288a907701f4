#pragma once
// What a registry editor's own controls show, read from the test process through memory
// placed in the editor: Wine's own editor and the stand-in alike, wherever the tree and
// the list sit below the main window.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "base/handle.h"
#include "tests/support/process_runner.h"

// One block of memory in another process, freed with the object while the process runs.
class ForeignBlock {
public:
    ForeignBlock(HANDLE process, std::size_t size);
    ForeignBlock(const ForeignBlock&) = delete;
    ForeignBlock& operator=(const ForeignBlock&) = delete;
    ~ForeignBlock();
    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    bool write(const void* data, std::size_t size) const;
    bool read(void* data, std::size_t size) const;

private:
    HANDLE process_;
    void* address_;
};

struct EditorControls {
    HWND mainWindow = nullptr;  // the process's top-level "RegEdit_RegEdit" window
    HWND tree = nullptr;        // the first tree and list anywhere below it
    HWND list = nullptr;
    bool found() const { return mainWindow && tree && list; }
};
EditorControls findEditorControls(DWORD processId);

// Reads (and, for tests that drive an editor themselves, sets) items of the controls.
class EditorReader {
public:
    explicit EditorReader(DWORD processId);
    bool attached() const { return controls_.found() && process_; }
    const EditorControls& controls() const { return controls_; }

    HTREEITEM next(HTREEITEM item, UINT relation) const;
    std::wstring treeText(HTREEITEM item);
    // The selected item's path below the root item, "HKEY_CURRENT_USER\Software" say.
    std::wstring selectedKeyPath();
    // The row's name, or false when the list has no such row.
    bool rowText(int row, std::wstring& text);
    int nextRow(UINT flags) const;  // LVNI_SELECTED or LVNI_FOCUSED; -1 for none
    // Wholly inside the list's visible rows.
    bool rowInView(int row) const;
    void selectRow(int row);

    LPARAM treeRecord() const { return treeItem_.address(); }
    LPARAM listRecord() const { return listItem_.address(); }

private:
    std::wstring readText();

    EditorControls controls_;
    hivescout::UniqueHandle process_;
    ForeignBlock text_;
    ForeignBlock treeItem_;
    ForeignBlock listItem_;
    std::vector<wchar_t> local_;
};

// Saves the prefix's own regedit.exe the first time it is replaced, and puts it back.
bool saveWineEditor();
bool installWineEditor();

// Wine's own editor, started by the test (a plain "regedit.exe") and ended with the object.
class WineEditor {
public:
    WineEditor();
    bool ready() const { return ready_; }
    DWORD processId() const { return process_.processId(); }
    HWND mainWindow() const { return controls_.mainWindow; }

private:
    RunningProcess process_;
    EditorControls controls_;
    bool ready_ = false;
};

// The selected key of the editor process's tree, as EditorReader::selectedKeyPath.
std::wstring selectedKeyPathOf(DWORD processId);
