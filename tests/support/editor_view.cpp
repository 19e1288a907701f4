#include "tests/support/editor_view.h"

#include "tests/support/standin.h"

namespace {

constexpr std::size_t kTextUnits = 20480;

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct WindowSearch {
    DWORD processId;
    EditorControls controls;
};

BOOL CALLBACK visitDescendant(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    const std::wstring name = className(window);
    if (!search->controls.tree && name == WC_TREEVIEWW) search->controls.tree = window;
    if (!search->controls.list && name == WC_LISTVIEWW) search->controls.list = window;
    return TRUE;
}

BOOL CALLBACK visitTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || className(window) != L"RegEdit_RegEdit") return TRUE;
    search->controls.mainWindow = window;
    ::EnumChildWindows(window, visitDescendant, data);
    return FALSE;
}

std::wstring savedWineEditorPath() { return installedEditorPath() + L".wine"; }

}  // namespace

ForeignBlock::ForeignBlock(HANDLE process, std::size_t size)
    : process_(process),
      address_(process ? ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE) : nullptr) {}

ForeignBlock::~ForeignBlock() {
    if (address_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool ForeignBlock::write(const void* data, std::size_t size) const {
    return ::WriteProcessMemory(process_, address_, data, size, nullptr) != FALSE;
}

bool ForeignBlock::read(void* data, std::size_t size) const {
    return ::ReadProcessMemory(process_, address_, data, size, nullptr) != FALSE;
}

EditorControls findEditorControls(DWORD processId) {
    WindowSearch search{processId, {}};
    ::EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.controls;
}

EditorReader::EditorReader(DWORD processId)
    : controls_(findEditorControls(processId)),
      process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | SYNCHRONIZE, FALSE,
                             processId)),
      text_(process_.get(), (kTextUnits + 1) * sizeof(wchar_t)),
      treeItem_(process_.get(), sizeof(TVITEMEXW)),
      listItem_(process_.get(), sizeof(LVITEMW)),
      local_(kTextUnits + 1) {}

HTREEITEM EditorReader::next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(controls_.tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::wstring EditorReader::treeText(HTREEITEM item) {
    TVITEMEXW record{};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = reinterpret_cast<wchar_t*>(text_.address());
    record.cchTextMax = static_cast<int>(kTextUnits);
    if (!treeItem_.write(&record, sizeof(record)) ||
        ::SendMessageW(controls_.tree, TVM_GETITEMW, 0, treeItem_.address()) == 0)
        return L"<unreadable>";
    return readText();
}

std::wstring EditorReader::selectedKeyPath() {
    std::wstring path;
    for (HTREEITEM item = next(nullptr, TVGN_CARET); item; item = next(item, TVGN_PARENT)) {
        if (!next(item, TVGN_PARENT)) break;  // the root item ("My Computer") is no key
        path = treeText(item) + (path.empty() ? L"" : L"\\" + path);
    }
    return path;
}

bool EditorReader::rowText(int row, std::wstring& text) {
    LVITEMW record{};
    record.mask = LVIF_TEXT;
    record.iItem = row;
    record.pszText = reinterpret_cast<wchar_t*>(text_.address());
    record.cchTextMax = static_cast<int>(kTextUnits);
    if (!listItem_.write(&record, sizeof(record)) ||
        ::SendMessageW(controls_.list, LVM_GETITEMW, 0, listItem_.address()) == 0)
        return false;
    text = readText();
    return true;
}

int EditorReader::nextRow(UINT flags) const {
    return static_cast<int>(::SendMessageW(controls_.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), flags));
}

bool EditorReader::rowInView(int row) const {
    const int top = static_cast<int>(::SendMessageW(controls_.list, LVM_GETTOPINDEX, 0, 0));
    const int perPage = static_cast<int>(::SendMessageW(controls_.list, LVM_GETCOUNTPERPAGE, 0, 0));
    return row >= top && row < top + perPage;
}

void EditorReader::selectRow(int row) {
    LVITEMW record{};
    record.mask = LVIF_STATE;
    record.iItem = row;
    record.state = record.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    if (listItem_.write(&record, sizeof(record))) ::SendMessageW(controls_.list, LVM_SETITEMW, 0, listItem_.address());
}

std::wstring EditorReader::readText() {
    if (!text_.read(local_.data(), kTextUnits * sizeof(wchar_t))) return L"<unreadable>";
    local_[kTextUnits] = L'\0';
    return local_.data();
}

bool saveWineEditor() {
    if (::GetFileAttributesW(savedWineEditorPath().c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return ::CopyFileW(installedEditorPath().c_str(), savedWineEditorPath().c_str(), TRUE) != FALSE;
}

bool installWineEditor() {
    return saveWineEditor() && ::CopyFileW(savedWineEditorPath().c_str(), installedEditorPath().c_str(), FALSE) != FALSE;
}

WineEditor::WineEditor() : process_(quoteArgument(installedEditorPath())) {
    const DWORD start = ::GetTickCount();
    while (process_.started() && ::GetTickCount() - start < 10000) {
        controls_ = findEditorControls(process_.processId());
        if (controls_.found()) break;
        ::Sleep(20);
    }
    ready_ = controls_.found();
}

std::wstring selectedKeyPathOf(DWORD processId) { return EditorReader(processId).selectedKeyPath(); }
