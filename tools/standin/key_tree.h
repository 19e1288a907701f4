#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tools/standin/registry_key.h"

// The key tree: one root item "Computer" over the five root keys, each key filled from
// the live registry the first time it is expanded. Item texts are stored in the items,
// so a get-item message from any process returns them.
class KeyTree {
public:
    void attach(HWND tree) { tree_ = tree; }
    HWND handle() const { return tree_; }

    // Inserts the root item and the root keys, expands the root and selects it.
    void fillRoots();

    // TVN_ITEMEXPANDINGW and TVN_GETDISPINFOW; other notifications are not ours.
    void onItemExpanding(const NMTREEVIEWW& notice);
    void onGetDisplayInfo(NMTVDISPINFOW& notice);

    // Opens the registry key an item stands for; false for the root item.
    bool openKeyOf(HTREEITEM item, RegistryKey& key) const;

private:
    HTREEITEM insertItem(HTREEITEM parent, const std::wstring& text, int children, LPARAM data);
    void insertSubkeys(HTREEITEM item);
    std::wstring itemText(HTREEITEM item) const;
    HTREEITEM parentOf(HTREEITEM item) const;
    LPARAM itemData(HTREEITEM item) const;

    HWND tree_ = nullptr;
};
