#include "tools/standin/key_tree.h"

#include <algorithm>
#include <vector>

namespace {

struct RootKey {
    const wchar_t* name;
    HKEY key;
};

const RootKey kRootKeys[] = {
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

constexpr wchar_t kRootText[] = L"Computer";
constexpr DWORD kMaxKeyNameUnits = 256;

bool lessIgnoringCase(const std::wstring& left, const std::wstring& right) {
    return ::CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                  static_cast<int>(right.size()), TRUE) == CSTR_LESS_THAN;
}

std::vector<std::wstring> subkeyNames(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[kMaxKeyNameUnits];
    for (DWORD index = 0;; ++index) {
        DWORD length = kMaxKeyNameUnits;
        const LSTATUS status = ::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_SUCCESS) names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

bool hasSubkeys(HKEY key) {
    DWORD subkeys = 0;
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys > 0;
}

}  // namespace

void KeyTree::fillRoots() {
    const HTREEITEM root = insertItem(TVI_ROOT, kRootText, 1, 0);
    for (const RootKey& rootKey : kRootKeys)
        insertItem(root, rootKey.name, I_CHILDRENCALLBACK, reinterpret_cast<LPARAM>(rootKey.key));
    TreeView_Expand(tree_, root, TVE_EXPAND);
    TreeView_SelectItem(tree_, root);
}

HTREEITEM KeyTree::insertItem(HTREEITEM parent, const std::wstring& text, int children, LPARAM data) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.itemex.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
    insert.itemex.pszText = const_cast<wchar_t*>(text.c_str());
    insert.itemex.cChildren = children;
    insert.itemex.lParam = data;
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void KeyTree::onItemExpanding(const NMTREEVIEWW& notice) {
    if ((notice.action & TVE_EXPAND) == 0) return;
    const HTREEITEM item = notice.itemNew.hItem;
    if (parentOf(item) == nullptr || TreeView_GetChild(tree_, item) != nullptr) return;
    insertSubkeys(item);
}

// Keys are listed once, on first expansion; thousands of items go in without redraws.
void KeyTree::insertSubkeys(HTREEITEM item) {
    RegistryKey key;
    std::vector<std::wstring> names;
    if (openKeyOf(item, key)) names = subkeyNames(key.get());
    if (names.empty()) {
        TVITEMW noChildren{};
        noChildren.mask = TVIF_HANDLE | TVIF_CHILDREN;
        noChildren.hItem = item;
        noChildren.cChildren = 0;
        ::SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&noChildren));
        return;
    }
    ::SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    for (const std::wstring& name : names) insertItem(item, name, I_CHILDRENCALLBACK, 0);
    ::SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(tree_, nullptr, TRUE);
}

// Whether a key has subkeys is asked only for items the tree needs to draw or expand.
void KeyTree::onGetDisplayInfo(NMTVDISPINFOW& notice) {
    if ((notice.item.mask & TVIF_CHILDREN) == 0) return;
    RegistryKey key;
    notice.item.cChildren = openKeyOf(notice.item.hItem, key) && hasSubkeys(key.get()) ? 1 : 0;
    notice.item.mask |= TVIF_DI_SETITEM;
}

bool KeyTree::openKeyOf(HTREEITEM item, RegistryKey& key) const {
    std::wstring subkey;
    for (HTREEITEM parent = parentOf(item); item != nullptr && parent != nullptr; parent = parentOf(item)) {
        if (parentOf(parent) == nullptr) {
            const HKEY rootKey = reinterpret_cast<HKEY>(itemData(item));
            return key.open(rootKey, subkey.c_str()) == ERROR_SUCCESS;
        }
        subkey = subkey.empty() ? itemText(item) : itemText(item) + L"\\" + subkey;
        item = parent;
    }
    return false;
}

std::wstring KeyTree::itemText(HTREEITEM item) const {
    wchar_t text[kMaxKeyNameUnits + 1] = {};
    TVITEMW query{};
    query.mask = TVIF_HANDLE | TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = static_cast<int>(std::size(text));
    ::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return query.pszText == text ? std::wstring(text) : std::wstring(query.pszText ? query.pszText : L"");
}

HTREEITEM KeyTree::parentOf(HTREEITEM item) const { return TreeView_GetParent(tree_, item); }

LPARAM KeyTree::itemData(HTREEITEM item) const {
    TVITEMW query{};
    query.mask = TVIF_HANDLE | TVIF_PARAM;
    query.hItem = item;
    ::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return query.lParam;
}
