// A registry editor for the end-to-end tests: the Windows editor's window layout, filled
// from the live registry and bent by the knobs of standin_channel.h.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <string>
#include <utility>
#include <vector>

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
const std::wstring exitOnItemRead = environment(knob::kExitOnItemRead);
const DWORD windowDelayMs = number(knob::kWindowDelayMs), itemReadDelayMs = number(knob::kItemReadDelayMs),
            controlsDelayMs = number(knob::kControlsDelayMs), exitAfterMs = number(knob::kExitAfterMs);
const bool noList = number(knob::kNoList) != 0, exitOnListRead = exitOnItemRead.rfind(L"list:", 0) == 0;
const DWORD itemReadsToExit = exitOnItemRead.size() > 5 ? std::wcstoul(exitOnItemRead.c_str() + 5, nullptr, 10) : 0;
const std::wstring stallIn = environment(knob::kStallIn);
const UINT stallMessage = stallIn == L"TVM_GETITEMW" ? TVM_GETITEMW : stallIn == L"TVM_EXPAND" ? TVM_EXPAND
                        : stallIn == L"LVM_GETITEMW" ? LVM_GETITEMW : 0;
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
const UINT kDriving[] = {TVM_GETNEXTITEM, TVM_GETITEMW,   TVM_SELECTITEM, TVM_EXPAND,     LVM_GETITEMCOUNT, LVM_GETHEADER,
                         LVM_GETITEMW,    LVM_SETITEMW,   LVM_SETITEMSTATE, LVM_ENSUREVISIBLE, HDM_GETITEMCOUNT, WM_MBUTTONDOWN,
                         WM_MBUTTONUP,    WM_LBUTTONDOWN, WM_LBUTTONUP,   WM_KEYDOWN,     WM_KEYUP};

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
    if (outside && (message == TVM_GETITEMW || message == LVM_GETITEMW)) {
        if (itemReadsToExit && exitOnListRead == (control == Control::List) && ++itemReads >= itemReadsToExit)
            ::ExitProcess(0);
        if (itemReadDelayMs) ::Sleep(itemReadDelayMs);
    }
    const Dispatching inside;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

// Each item's data is its index here: the root key and the path below it.
std::vector<std::pair<HKEY, std::wstring>> itemKeys;

HTREEITEM insertItem(HTREEITEM parent, const std::wstring& text, int children, HKEY root, const std::wstring& path) {
    TVINSERTSTRUCTW insert{parent, TVI_LAST, {TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM, nullptr, 0, 0, const_cast<wchar_t*>(text.c_str()),
                                              0, 0, 0, children, static_cast<LPARAM>(itemKeys.size())}};
    itemKeys.emplace_back(root, path);
    return TreeView_InsertItem(tree, &insert);
}

const std::pair<HKEY, std::wstring>& keyOf(HTREEITEM item) {
    TVITEMW query{TVIF_HANDLE | TVIF_PARAM, item};
    TreeView_GetItem(tree, &query);
    return itemKeys.at(static_cast<std::size_t>(query.lParam));
}

using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&::RegCloseKey)>;
RegistryKey openKeyOf(HTREEITEM item) {
    const auto& [root, path] = keyOf(item);
    HKEY key = nullptr;
    return RegistryKey(root && !::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) ? key : nullptr, &::RegCloseKey);
}

// Key or value names (enumerate(index, buffer, length) gives one), sorted as the editor sorts.
template <typename Enumerate>
std::vector<std::wstring> sortedNames(Enumerate enumerate) {
    std::vector<std::wstring> names;
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0, length = 16384; enumerate(index, name.data(), &length) == ERROR_SUCCESS; ++index, length = 16384)
        if (length) names.emplace_back(name.data(), length);
    std::sort(names.begin(), names.end(), [](const std::wstring& left, const std::wstring& right) {
        return ::CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                      static_cast<int>(right.size()), TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

// Keys are listed once, on first expansion; until then every key may have subkeys.
void insertSubkeys(HTREEITEM item) {
    const RegistryKey key = openKeyOf(item);
    const auto [root, path] = keyOf(item);
    const auto names = !key ? std::vector<std::wstring>() : sortedNames([&](DWORD index, wchar_t* name, DWORD* length) {
        return ::RegEnumKeyExW(key.get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
    for (const std::wstring& name : names) insertItem(item, name, 1, root, path.empty() ? name : path + L"\\" + name);
    TVITEMW none{TVIF_HANDLE | TVIF_CHILDREN, item};
    if (names.empty()) TreeView_SetItem(tree, &none);
}

// "(Default)" first, then the key's values sorted by name.
void fillList() {
    if (!list) return;
    ListView_DeleteAllItems(list);
    const RegistryKey key = openKeyOf(TreeView_GetSelection(tree));  // the root item ("Computer") has no key
    if (!key) return;
    std::vector<std::wstring> names = sortedNames([&](DWORD index, wchar_t* name, DWORD* length) {
        return ::RegEnumValueW(key.get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
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
    for (HWND window : {address, placeholder, tree, list, status})
        if (window) ::SetWindowPos(window, std::exchange(previous, window), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::MoveWindow(address, 0, 0, client.right, 22, TRUE);
    if (placeholder) ::MoveWindow(placeholder, 0, 22, client.right, height, TRUE);
    if (tree) ::MoveWindow(tree, 0, 22, split, height, TRUE);
    if (list) ::MoveWindow(list, split, 22, client.right - split, height, TRUE);
}

void subclass(HWND window, Control control) { ::SetWindowSubclass(window, controlProc, 1, static_cast<DWORD_PTR>(control)); }

void createList() {
    list = child(WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL);
    LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, 0, 300, const_cast<wchar_t*>(L"Name")};
    ListView_InsertColumn(list, 0, &column);
    subclass(list, Control::List);
    subclass(ListView_GetHeader(list), Control::Header);
}

// The tree is filled before a list after it exists, so that a window with both is ready.
void createViews() {
    tree = child(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    subclass(tree, Control::Tree);
    const HTREEITEM root = insertItem(TVI_ROOT, L"Computer", 1, nullptr, L"");
    for (const auto& [name, key] : {std::pair{L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT}, {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {L"HKEY_USERS", HKEY_USERS},
                                    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}})
        insertItem(root, name, 1, key, L"");
    TreeView_Expand(tree, root, TVE_EXPAND);
    TreeView_SelectItem(tree, root);
    if (!noList) createList();
    if (placeholder) ::DestroyWindow(std::exchange(placeholder, nullptr));
    arrangeChildren();
}

void onTreeNotice(NMHDR& notice) {
    auto& change = reinterpret_cast<NMTREEVIEWW&>(notice);
    if (notice.code == TVN_ITEMEXPANDINGW && (change.action & TVE_EXPAND) &&
        TreeView_GetParent(tree, change.itemNew.hItem) && !TreeView_GetChild(tree, change.itemNew.hItem))
        insertSubkeys(change.itemNew.hItem);
    else if (notice.code == TVN_SELCHANGEDW)
        fillList();
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Dispatching inside;
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        address = child(WC_EDITW, ES_AUTOHSCROLL);
        if (controlsDelayMs) placeholder = child(WC_STATICW, 0);
        status = child(STATUSCLASSNAMEW, SBARS_SIZEGRIP);
        if (!controlsDelayMs) createViews();
        arrangeChildren();
        if (controlsDelayMs) ::SetTimer(window, 1, controlsDelayMs, nullptr);  // for the views
        return 0;
    case WM_SIZE: return arrangeChildren(), 0;
    case WM_TIMER: return ::KillTimer(window, wParam), createViews(), 0;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom == tree) onTreeNotice(*reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_DESTROY: return ::PostQuitMessage(0), 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI exitLater(void*) {
    ::Sleep(exitAfterMs);
    ::ExitProcess(0);
}

// As the system's editor: where a policy disables registry editing, its message is all it
// shows, closed after 20 s at the latest so that nothing waits on it for ever.
bool editingDisabledByPolicy(HKEY root) {
    DWORD value = 0, size = sizeof(value);
    return !::RegGetValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", L"DisableRegistryTools",
                           RRF_RT_REG_DWORD, nullptr, &value, &size) && (value == 1 || value == 2);
}
void CALLBACK closeMessage(HWND, UINT, UINT_PTR, DWORD) { ::ExitProcess(0); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    if (editingDisabledByPolicy(HKEY_CURRENT_USER) || editingDisabledByPolicy(HKEY_LOCAL_MACHINE)) {
        ::SetTimer(nullptr, 0, 20000, closeMessage);
        ::MessageBoxW(nullptr, L"Registry editing has been disabled by your administrator.", L"Registry Editor", MB_OK | MB_ICONERROR);
        return 0;
    }
    const std::wstring recordPath = environment(knob::kRecord);
    if (!recordPath.empty())
        record = ::CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_ALWAYS, 0, nullptr);
    if (exitAfterMs) ::CloseHandle(::CreateThread(nullptr, 0, exitLater, nullptr, 0, nullptr));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::Sleep(windowDelayMs);
    const WNDCLASSEXW windowClass{sizeof(WNDCLASSEXW), 0, windowProc, 0, 0, instance, nullptr, ::LoadCursorW(nullptr, IDC_ARROW),
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr, L"RegEdit_RegEdit", nullptr};
    ::RegisterClassExW(&windowClass);
    ::CreateWindowExW(0, L"RegEdit_RegEdit", L"Registry Editor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                      CW_USEDEFAULT, 900, 600, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(mainWindow, showCommand);
    for (MSG message{}; ::GetMessageW(&message, nullptr, 0, 0) > 0; ::DispatchMessageW(&message)) ::TranslateMessage(&message);
    return 0;
}
