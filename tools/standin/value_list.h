#pragma once
#include <windows.h>

#include <string>

// The value list: a report view with the columns Name, Type and Data. Row texts are
// stored in the items, so a get-item message from any process returns the value name.
class ValueList {
public:
    void attach(HWND list);
    HWND handle() const { return list_; }

    // "(Default)" first, then the key's values sorted by name; a null key empties the list.
    void showValuesOf(HKEY key);
    void clear();

    int rowCount() const;

private:
    void addRow(const std::wstring& name, const std::wstring& type, const std::wstring& data);

    HWND list_ = nullptr;
};
