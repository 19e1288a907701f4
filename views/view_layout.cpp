#include "views/view_layout.h"

#include <cwchar>
#include <iterator>

namespace hivescout {

namespace {

constexpr wchar_t kTreeClass[] = L"SysTreeView32";
constexpr wchar_t kListClass[] = L"SysListView32";

bool hasClass(HWND window, const wchar_t* className) {
    wchar_t name[64] = {};
    const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return length > 0 && ::_wcsicmp(name, className) == 0;
}

// Walked by hand: a class search that starts after a window of another class finds
// nothing on some systems.
HWND findListAfter(HWND tree) {
    for (HWND sibling = ::GetWindow(tree, GW_HWNDNEXT); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT))
        if (hasClass(sibling, kListClass)) return sibling;
    return nullptr;
}

bool holdsTreeAndList(HWND window) {
    return ::FindWindowExW(window, nullptr, kTreeClass, nullptr) &&
           ::FindWindowExW(window, nullptr, kListClass, nullptr);
}

}  // namespace

RegeditViews viewsAmongChildrenOf(HWND parent) {
    RegeditViews views;
    views.tree = ::FindWindowExW(parent, nullptr, kTreeClass, nullptr);
    views.list = views.tree ? findListAfter(views.tree) : ::FindWindowExW(parent, nullptr, kListClass, nullptr);
    return views;
}

HWND nestedViewsHolder(HWND mainWindow) {
    for (HWND child = ::GetWindow(mainWindow, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (holdsTreeAndList(child)) return child;
    return nullptr;
}

}  // namespace hivescout
