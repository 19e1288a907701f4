// A registry editor for the end-to-end tests: the Windows editor's window layout, filled from the live registry and
// bent by the knobs of standin_channel.h.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/handle.h"
#include "tools/standin/standin_channel.h"

using standin::Control;

namespace {

std::wstring environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    return ::GetEnvironmentVariableW(name, value, MAX_PATH) < MAX_PATH ? value : L"";
}
DWORD number(const wchar_t* name) { return std::wcstoul(environment(name).c_str(), nullptr, 10); }

// The knobs, read once at the start.
namespace knob = standin::knob;
const std::wstring exitOnItemRead = environment(knob::kExitOnItemRead), stallIn = environment(knob::kStallIn);
const DWORD windowDelayMs = number(knob::kWindowDelayMs), itemReadDelayMs = number(knob::kItemReadDelayMs),
            controlsDelayMs = number(knob::kControlsDelayMs), exitAfterMs = number(knob::kExitAfterMs);
const bool noList = number(knob::kNoList) != 0, exitOnListRead = exitOnItemRead.rfind(L"list:", 0) == 0;
const DWORD itemReadsToExit = exitOnItemRead.size() > 5 ? std::wcstoul(exitOnItemRead.c_str() + 5, nullptr, 10) : 0;
const UINT stallMessage = stallIn == L"TVM_GETITEMW"   ? TVM_GETITEMW
                          : stallIn == L"TVM_EXPAND"   ? TVM_EXPAND
                          : stallIn == L"LVM_GETITEMW" ? LVM_GETITEMW
                                                       : 0;
DWORD stallMs = number(knob::kStallMs);

HANDLE record = INVALID_HANDLE_VALUE;
int dispatchDepth = 0;  // above zero while a procedure of the stand-in runs: what is sent then is its own
struct Dispatching {
    Dispatching() { ++dispatchDepth; }
    ~Dispatching() { --dispatchDepth; }
};
DWORD itemReads = 0;
HWND mainWindow, address, placeholder, tree, list, status;

// The messages the jump drives the controls with, which the record keeps.
const UINT kDriving[] = {TVM_GETNEXTITEM,  TVM_GETITEMW,   TVM_SELECTITEM, TVM_EXPAND,       LVM_GETITEMCOUNT,
                         LVM_GETHEADER,    LVM_GETITEMW,   LVM_SETITEMW,   LVM_SETITEMSTATE, LVM_ENSUREVISIBLE,
                         HDM_GETITEMCOUNT, WM_MBUTTONDOWN, WM_MBUTTONUP,   WM_LBUTTONDOWN,   WM_LBUTTONUP,
                         WM_KEYDOWN,       WM_KEYUP};

// What another process sends is recorded, stalled, counted towards an ending and slowed down.
LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const Control control = static_cast<Control>(data);
    const bool outside =
        dispatchDepth == 0 && (::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) != 0;
    if (outside && std::count(std::begin(kDriving), std::end(kDriving), message) && record != INVALID_HANDLE_VALUE) {
        const standin::RecordedMessage entry{control, message, wParam, static_cast<std::uint64_t>(lParam)};
        DWORD written = 0;
        ::WriteFile(record, &entry, sizeof(entry), &written, nullptr);
    }
    if (outside && message == stallMessage) ::Sleep(std::exchange(stallMs, 0));
    const bool itemRead = outside && (message == TVM_GETITEMW || message == LVM_GETITEMW);
    if (itemRead && itemReadsToExit && exitOnListRead == (control == Control::List) && ++itemReads >= itemReadsToExit)
        ::ExitProcess(0);
    if (itemRead && itemReadDelayMs) ::Sleep(itemReadDelayMs);
    const Dispatching inside;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

// Each item's data is its index here: the root key and the path below it.
std::vector<std::pair<HKEY, std::wstring>> itemKeys;

// Every key may have subkeys until it is first expanded.
HTREEITEM insertItem(HTREEITEM parent, const std::wstring& text, HKEY root, const std::wstring& path) {
    const auto index = static_cast<LPARAM>(itemKeys.size());
    const auto name = const_cast<wchar_t*>(text.c_str());
    TVINSERTSTRUCTW insert{
        parent, TVI_LAST, {TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM, nullptr, 0, 0, name, 0, 0, 0, 1, index}};
    itemKeys.emplace_back(root, path);
    return TreeView_InsertItem(tree, &insert);
}

const std::pair<HKEY, std::wstring>& keyOf(HTREEITEM item) {
    TVITEMW query{TVIF_HANDLE | TVIF_PARAM, item};
    TreeView_GetItem(tree, &query);
    return itemKeys.at(static_cast<std::size_t>(query.lParam));
}

using RegistryKey = hivescout::UniqueResource<hivescout::NullIsEmpty<HKEY, &::RegCloseKey>>;
RegistryKey openKeyOf(HTREEITEM item) {
    const auto& [root, path] = keyOf(item);
    HKEY key = nullptr;
    return RegistryKey(root && !::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) ? key : nullptr);
}

// The key's subkey or value names, sorted as the editor sorts.
std::vector<std::wstring> sortedNames(HKEY key, bool values) {
    std::vector<std::wstring> names;
    wchar_t name[16384];
    for (DWORD index = 0, length = 16384;; ++index, length = 16384) {
        const LSTATUS status = values ? ::RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr)
                                      : ::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        if (length) names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end(), [](const std::wstring& left, const std::wstring& right) {
        return ::CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

// Keys are listed once, on first expansion; a key without subkeys then loses its button.
void insertSubkeys(HTREEITEM item) {
    const auto [root, path] = keyOf(item);
    const std::vector<std::wstring> names = sortedNames(openKeyOf(item).get(), false);
    for (const std::wstring& name : names) insertItem(item, name, root, path.empty() ? name : path + L"\\" + name);
    TVITEMW none{TVIF_HANDLE | TVIF_CHILDREN, item};
    if (names.empty()) TreeView_SetItem(tree, &none);
}

// "(Default)" first, then the key's values sorted by name.
void fillList() {
    ListView_DeleteAllItems(list);
    const RegistryKey key = openKeyOf(TreeView_GetSelection(tree));  // the root item ("Computer") has no key
    if (!key) return;
    std::vector<std::wstring> names = sortedNames(key.get(), true);
    names.insert(names.begin(), L"(Default)");
    for (std::size_t row = 0; row < names.size(); ++row) {
        LVITEMW item{LVIF_TEXT, static_cast<int>(row), 0, 0, 0, const_cast<wchar_t*>(names[row].c_str())};
        ListView_InsertItem(list, &item);
    }
}

HWND child(const wchar_t* className, DWORD style) {
    return ::CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, mainWindow,
                             nullptr, nullptr, nullptr);
}

// Address bar, the views, status bar: in that sibling order, however late each came.
void arrangeChildren() {
    RECT client{};
    ::GetClientRect(mainWindow, &client);
    ::SendMessageW(status, WM_SIZE, 0, 0);
    const int height = client.bottom - 44, split = list ? client.right * 3 / 10 : client.right;
    HWND previous = HWND_TOP;
    for (HWND window : {address, placeholder, tree, list, status}) {
        if (!window) continue;
        ::SetWindowPos(window, std::exchange(previous, window), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ::MoveWindow(address, 0, 0, client.right, 22, TRUE);
    if (placeholder) ::MoveWindow(placeholder, 0, 22, client.right, height, TRUE);
    if (tree) ::MoveWindow(tree, 0, 22, split, height, TRUE);
    if (list) ::MoveWindow(list, split, 22, client.right - split, height, TRUE);
}

void subclass(HWND window, Control control) {
    ::SetWindowSubclass(window, controlProc, 1, static_cast<DWORD_PTR>(control));
}

void createList() {
    list = child(WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL);
    LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, 0, 300, const_cast<wchar_t*>(L"Name")};
    ListView_InsertColumn(list, 0, &column);
    subclass(list, Control::List);
    subclass(ListView_GetHeader(list), Control::Header);
}

// The tree is filled before a list after it exists, so that a window with both is ready. Late views come once.
void createViews() {
    ::KillTimer(mainWindow, 1);
    tree = child(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    subclass(tree, Control::Tree);
    const HTREEITEM root = insertItem(TVI_ROOT, L"Computer", nullptr, L"");
    const wchar_t* const names[] = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_USERS",
                                    L"HKEY_CURRENT_CONFIG"};
    const HKEY keys[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG};
    for (std::size_t key = 0; key < std::size(keys); ++key) insertItem(root, names[key], keys[key], L"");
    TreeView_Expand(tree, root, TVE_EXPAND);
    TreeView_SelectItem(tree, root);
    if (!noList) createList();
    if (placeholder) ::DestroyWindow(std::exchange(placeholder, nullptr));
    arrangeChildren();
}

// Only the tree sends these codes.
void onNotice(NMHDR& notice) {
    auto& change = reinterpret_cast<NMTREEVIEWW&>(notice);
    if (notice.code == TVN_ITEMEXPANDINGW && (change.action & TVE_EXPAND) &&
        TreeView_GetParent(tree, change.itemNew.hItem) && !TreeView_GetChild(tree, change.itemNew.hItem))
        insertSubkeys(change.itemNew.hItem);
    if (notice.code == TVN_SELCHANGEDW) fillList();
}

// The views come at once, or after the delay knob behind a placeholder that keeps the window at three children.
void createChildren(HWND window) {
    mainWindow = window;
    address = child(WC_EDITW, ES_AUTOHSCROLL);
    if (controlsDelayMs) placeholder = child(WC_STATICW, 0);
    status = child(STATUSCLASSNAMEW, SBARS_SIZEGRIP);
    if (controlsDelayMs) ::SetTimer(window, 1, controlsDelayMs, nullptr);
    if (!controlsDelayMs) createViews();
    arrangeChildren();
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Dispatching inside;
    switch (message) {
    case WM_CREATE: createChildren(window); return 0;
    case WM_SIZE: arrangeChildren(); return 0;
    case WM_TIMER: createViews(); return 0;
    case WM_NOTIFY: onNotice(*reinterpret_cast<NMHDR*>(lParam)); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void CALLBACK exitNow(void*, BOOLEAN) { ::ExitProcess(0); }

// As the system's editor: where a policy disables registry editing, its message is all it shows, closed after 20 s
// at the latest so that nothing waits on it for ever.
bool editingDisabledByPolicy(HKEY root) {
    DWORD value = 0, size = sizeof(value);
    return !::RegGetValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                           L"DisableRegistryTools", RRF_RT_REG_DWORD, nullptr, &value, &size) &&
           (value == 1 || value == 2);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    HANDLE exitTimer = nullptr;  // never deleted: it ends the process, whatever the main thread is doing then
    if (editingDisabledByPolicy(HKEY_CURRENT_USER) || editingDisabledByPolicy(HKEY_LOCAL_MACHINE)) {
        ::CreateTimerQueueTimer(&exitTimer, nullptr, exitNow, nullptr, 20000, 0, WT_EXECUTEONLYONCE);
        ::MessageBoxW(nullptr, L"Registry editing has been disabled by your administrator.", L"Registry Editor",
                      MB_OK | MB_ICONERROR);
        return 0;
    }
    // Without the knob the path is empty and nothing is opened.
    record = ::CreateFileW(environment(knob::kRecord).c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (exitAfterMs) ::CreateTimerQueueTimer(&exitTimer, nullptr, exitNow, nullptr, exitAfterMs, 0, WT_EXECUTEONLYONCE);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::Sleep(windowDelayMs);
    WNDCLASSW windowClass{};  // no cursor or background: the children cover it and it is only ever driven
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"RegEdit_RegEdit";
    ::RegisterClassW(&windowClass);
    ::CreateWindowExW(0, L"RegEdit_RegEdit", L"Registry Editor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                      CW_USEDEFAULT, 900, 600, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(mainWindow, showCommand);
    for (MSG message{}; ::GetMessageW(&message, nullptr, 0, 0) > 0; ::DispatchMessageW(&message))
        ::TranslateMessage(&message);
    return 0;
}
