#include "tools/standin/main_window.h"

#include <vector>

#include "tools/standin/channel_writer.h"
#include "tools/standin/control_recorder.h"

namespace {

enum ChildId { kAddressId = 100, kTreeId, kListId, kStatusId, kPlaceholderId };
enum TimerId : UINT_PTR { kControlsTimer = 1, kListFillTimer };
enum CommandId { kExitCommand = 200 };

constexpr int kAddressHeight = 22;
constexpr wchar_t kHelperClassName[] = L"RegEdit_Helper";

HMENU createMainMenu() {
    HMENU menu = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, kExitCommand, L"E&xit");
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    for (const wchar_t* title : {L"&Edit", L"&View", L"F&avorites", L"&Help"})
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), title);
    return menu;
}

HFONT interfaceFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace

bool MainWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassExW(&windowClass) != 0;
}

bool MainWindow::create(HINSTANCE instance, int showCommand) {
    instance_ = instance;
    ::CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                      900, 600, nullptr, createMainMenu(), instance, this);
    if (!window_) return false;
    channelWriter().updateState(
        [this](standin::ChannelState& state) { state.mainWindow = reinterpret_cast<std::uintptr_t>(window_); });
    ::ShowWindow(window_, showCommand);
    ::UpdateWindow(window_);
    return true;
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DispatchScope scope;
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handleMessage(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createFrameControls();
        if (knobs_.controlsDelayMs == 0) createViews();
        else ::SetTimer(window_, kControlsTimer, knobs_.controlsDelayMs, nullptr);
        return 0;
    case WM_SIZE:
        layout();
        return 0;
    case WM_TIMER:
        onTimer(wParam);
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        if (LOWORD(wParam) == kExitCommand) ::DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

HWND MainWindow::createChild(const wchar_t* className, DWORD style, DWORD exStyle, int id) {
    HWND child = ::CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(interfaceFont()), FALSE);
    return child;
}

// The address bar and the status bar, and a placeholder that keeps the window at three
// children while the views are still to come.
void MainWindow::createFrameControls() {
    if (knobs_.twoChildren) return;
    address_ = createChild(WC_EDITW, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kAddressId);
    if (knobs_.controlsDelayMs != 0) placeholder_ = createChild(WC_STATICW, 0, 0, kPlaceholderId);
    status_ = createChild(STATUSCLASSNAMEW, SBARS_SIZEGRIP, 0, kStatusId);
    arrangeChildOrder();
}

void MainWindow::createViews() {
    const DWORD treeStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP;
    const DWORD listStyle = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP;
    const bool withList = knobs_.listPlacement != ListPlacement::None;
    if (withList && knobs_.listPlacement == ListPlacement::BeforeTree)
        list_.attach(createChild(WC_LISTVIEWW, listStyle, WS_EX_CLIENTEDGE, kListId));
    tree_.attach(createChild(WC_TREEVIEWW, treeStyle, WS_EX_CLIENTEDGE, kTreeId));
    if (withList && knobs_.listPlacement == ListPlacement::AfterTree)
        list_.attach(createChild(WC_LISTVIEWW, listStyle, WS_EX_CLIENTEDGE, kListId));
    if (placeholder_) {
        ::DestroyWindow(placeholder_);
        placeholder_ = nullptr;
    }
    arrangeChildOrder();
    recordControlMessages(tree_.handle(), standin::Control::Tree, knobs_);
    recordControlMessages(list_.handle(), standin::Control::List, knobs_);
    if (list_.handle()) recordControlMessages(ListView_GetHeader(list_.handle()), standin::Control::Header, knobs_);
    layout();
    tree_.fillRoots();
    publishViews();
}

// Children are put in their sibling order explicitly, so that controls created late
// still come between the address bar and the status bar.
void MainWindow::arrangeChildOrder() {
    std::vector<HWND> order;
    for (HWND child : {address_, placeholder_}) if (child) order.push_back(child);
    const bool listFirst = knobs_.listPlacement == ListPlacement::BeforeTree;
    for (HWND child : listFirst ? std::vector<HWND>{list_.handle(), tree_.handle()}
                                : std::vector<HWND>{tree_.handle(), list_.handle()})
        if (child) order.push_back(child);
    if (status_) order.push_back(status_);
    HWND previous = HWND_TOP;
    for (HWND child : order) {
        ::SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
    }
}

void MainWindow::layout() {
    RECT client{};
    ::GetClientRect(window_, &client);
    int top = 0;
    int bottom = client.bottom;
    if (status_) {
        ::SendMessageW(status_, WM_SIZE, 0, 0);
        RECT statusRect{};
        ::GetWindowRect(status_, &statusRect);
        bottom -= statusRect.bottom - statusRect.top;
    }
    if (address_) {
        ::MoveWindow(address_, 0, 0, client.right, kAddressHeight, TRUE);
        top = kAddressHeight;
    }
    if (placeholder_) ::MoveWindow(placeholder_, 0, top, client.right, bottom - top, TRUE);
    const int height = bottom > top ? bottom - top : 0;
    const int treeWidth = list_.handle() ? client.right * 3 / 10 : client.right;
    if (tree_.handle()) ::MoveWindow(tree_.handle(), 0, top, treeWidth, height, TRUE);
    if (list_.handle()) ::MoveWindow(list_.handle(), treeWidth, top, client.right - treeWidth, height, TRUE);
}

void MainWindow::onTimer(UINT_PTR id) {
    ::KillTimer(window_, id);
    if (id == kControlsTimer) {
        createViews();
    } else if (id == kListFillTimer) {
        setListFillPending(false);
        fillListFromSelection();
    }
}

LRESULT MainWindow::onNotify(NMHDR& notice) {
    if (notice.hwndFrom == tree_.handle()) {
        switch (notice.code) {
        case TVN_ITEMEXPANDINGW:
            tree_.onItemExpanding(reinterpret_cast<NMTREEVIEWW&>(notice));
            return FALSE;
        case TVN_GETDISPINFOW:
            tree_.onGetDisplayInfo(reinterpret_cast<NMTVDISPINFOW&>(notice));
            return 0;
        case TVN_SELCHANGEDW:
            onSelectionChanged(reinterpret_cast<NMTREEVIEWW&>(notice).itemNew.hItem);
            return 0;
        }
    }
    return 0;
}

// The list follows the selection at once, or after the knob's delay with the header
// reporting a list still being filled.
void MainWindow::onSelectionChanged(HTREEITEM) {
    if (knobs_.listFillDelayMs == 0) {
        fillListFromSelection();
        return;
    }
    list_.clear();
    setListFillPending(true);
    ::SetTimer(window_, kListFillTimer, knobs_.listFillDelayMs, nullptr);
}

void MainWindow::fillListFromSelection() {
    RegistryKey key;
    const HTREEITEM selected = TreeView_GetSelection(tree_.handle());
    list_.showValuesOf(selected && tree_.openKeyOf(selected, key) ? key.get() : nullptr);
}

void MainWindow::publishViews() {
    const HWND header = list_.handle() ? ListView_GetHeader(list_.handle()) : nullptr;
    channelWriter().updateState([this, header](standin::ChannelState& state) {
        state.mainWindow = reinterpret_cast<std::uintptr_t>(window_);
        state.tree = reinterpret_cast<std::uintptr_t>(tree_.handle());
        state.list = reinterpret_cast<std::uintptr_t>(list_.handle());
        state.header = reinterpret_cast<std::uintptr_t>(header);
        state.ready = 1;
    });
}

HWND createHelperWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kHelperClassName;
    ::RegisterClassExW(&windowClass);
    HWND window = ::CreateWindowExW(0, kHelperClassName, L"Registry Editor Helper", WS_OVERLAPPEDWINDOW, 40, 40, 300,
                                    200, nullptr, nullptr, instance, nullptr);
    for (int index = 0; index < 3; ++index)
        ::CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE, 10, 10 + index * 30, 200, 24, window, nullptr,
                          instance, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}
