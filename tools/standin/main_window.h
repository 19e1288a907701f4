#pragma once
#include <windows.h>
#include <commctrl.h>

#include "tools/standin/key_tree.h"
#include "tools/standin/knobs.h"
#include "tools/standin/value_list.h"

// The editor's main window: address bar, key tree, value list and status bar as direct
// children in that order, as the Windows editor has them. The knobs change which
// children exist, their order and when they appear.
class MainWindow {
public:
    static constexpr wchar_t kClassName[] = L"RegEdit_RegEdit";
    static constexpr wchar_t kCaption[] = L"Registry Editor";

    explicit MainWindow(const Knobs& knobs) : knobs_(knobs) {}
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    static bool registerClass(HINSTANCE instance);
    bool create(HINSTANCE instance, int showCommand);
    HWND handle() const { return window_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createFrameControls();
    void createViews();
    HWND createChild(const wchar_t* className, DWORD style, DWORD exStyle, int id);
    void arrangeChildOrder();
    void layout();
    void onTimer(UINT_PTR id);
    LRESULT onNotify(NMHDR& notice);
    void onSelectionChanged(HTREEITEM item);
    void fillListFromSelection();
    void publishViews();

    Knobs knobs_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HWND address_ = nullptr;
    HWND placeholder_ = nullptr;
    HWND status_ = nullptr;
    KeyTree tree_;
    ValueList list_;
};

// A second top-level window of the process with three plain children, which a driver
// must tell apart from the main window.
HWND createHelperWindow(HINSTANCE instance);
