#include "tools/standin/value_list.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr wchar_t kDefaultName[] = L"(Default)";
constexpr wchar_t kValueNotSet[] = L"(value not set)";
constexpr DWORD kMaxValueNameUnits = 16384;

struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

const wchar_t* typeName(DWORD type) {
    switch (type) {
    case REG_SZ: return L"REG_SZ";
    case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
    case REG_BINARY: return L"REG_BINARY";
    case REG_DWORD: return L"REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return L"REG_DWORD_BIG_ENDIAN";
    case REG_LINK: return L"REG_LINK";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_QWORD: return L"REG_QWORD";
    case REG_NONE: return L"REG_NONE";
    default: return L"REG_UNKNOWN";
    }
}

std::wstring textOf(const std::vector<BYTE>& data) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::wstring multiTextOf(const std::vector<BYTE>& data) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    std::replace(text.begin(), text.end(), L'\0', L' ');
    return text;
}

std::wstring numberText(unsigned long long number, int hexDigits) {
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"0x%0*llx (%llu)", hexDigits, number, number);
    return text;
}

std::wstring bytesText(const std::vector<BYTE>& data) {
    std::wstring text;
    wchar_t pair[4];
    for (BYTE unit : data) {
        std::swprintf(pair, std::size(pair), L"%02x", unit);
        if (!text.empty()) text += L' ';
        text += pair;
    }
    return data.empty() ? L"(zero-length binary value)" : text;
}

std::wstring dataText(const Value& value) {
    switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_LINK: return textOf(value.data);
    case REG_MULTI_SZ: return multiTextOf(value.data);
    case REG_DWORD:
        if (value.data.size() >= 4) return numberText(*reinterpret_cast<const DWORD*>(value.data.data()), 8);
        break;
    case REG_QWORD:
        if (value.data.size() >= 8) return numberText(*reinterpret_cast<const ULONGLONG*>(value.data.data()), 16);
        break;
    }
    return bytesText(value.data);
}

std::vector<Value> readValues(HKEY key) {
    std::vector<Value> values;
    std::vector<wchar_t> name(kMaxValueNameUnits);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kMaxValueNameUnits;
        DWORD type = 0;
        DWORD size = 0;
        LSTATUS status = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;
        Value value{std::wstring(name.data(), nameLength), type, std::vector<BYTE>(size)};
        status = ::RegQueryValueExW(key, value.name.c_str(), nullptr, nullptr, value.data.data(), &size);
        if (status != ERROR_SUCCESS) continue;
        value.data.resize(size);
        values.push_back(std::move(value));
    }
    std::sort(values.begin(), values.end(), [](const Value& left, const Value& right) {
        return ::CompareStringOrdinal(left.name.c_str(), static_cast<int>(left.name.size()), right.name.c_str(),
                                      static_cast<int>(right.name.size()), TRUE) == CSTR_LESS_THAN;
    });
    return values;
}

}  // namespace

void ValueList::attach(HWND list) {
    list_ = list;
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    const struct {
        const wchar_t* title;
        int width;
    } columns[] = {{L"Name", 200}, {L"Type", 120}, {L"Data", 300}};
    for (int index = 0; index < 3; ++index) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(columns[index].title);
        column.cx = columns[index].width;
        column.iSubItem = index;
        ::SendMessageW(list_, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    }
}

void ValueList::clear() {
    if (list_) ListView_DeleteAllItems(list_);
}

void ValueList::showValuesOf(HKEY key) {
    if (!list_) return;
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    clear();
    if (key) {
        std::vector<Value> values = readValues(key);
        const auto defaultValue = std::find_if(values.begin(), values.end(), [](const Value& v) { return v.name.empty(); });
        if (defaultValue == values.end()) addRow(kDefaultName, L"REG_SZ", kValueNotSet);
        else addRow(kDefaultName, typeName(defaultValue->type), dataText(*defaultValue));
        for (const Value& value : values)
            if (!value.name.empty()) addRow(value.name, typeName(value.type), dataText(value));
    }
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void ValueList::addRow(const std::wstring& name, const std::wstring& type, const std::wstring& data) {
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = rowCount();
    row.pszText = const_cast<wchar_t*>(name.c_str());
    const int index = static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    const std::wstring* subTexts[] = {&type, &data};
    for (int column = 1; column <= 2; ++column) {
        LVITEMW sub{};
        sub.iSubItem = column;
        sub.pszText = const_cast<wchar_t*>(subTexts[column - 1]->c_str());
        ::SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    }
}

int ValueList::rowCount() const { return list_ ? ListView_GetItemCount(list_) : 0; }
