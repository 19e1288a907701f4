#include "tests/support/registry_data.h"

#include <windows.h>

#include <cstdio>

TestRegistryData::TestRegistryData(const std::wstring& root, const std::vector<std::wstring>& entries)
    : path_(L"Software\\" + root), created_(!root.empty()) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    for (const std::wstring& entry : entries) {
        const auto bar = entry.find(L'|');
        const std::wstring key = path_ + (bar == 0 ? L"" : L"\\" + entry.substr(0, bar));
        HKEY made = nullptr;
        const LSTATUS status =
            bar == std::wstring::npos
                ? ::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &made, nullptr)
                : ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), entry.substr(bar + 1).c_str(), REG_SZ, L"x", 4);
        if (made) ::RegCloseKey(made);
        created_ = created_ && status == ERROR_SUCCESS;
    }
}

// The key goes with everything below it.
TestRegistryData::~TestRegistryData() { ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }

std::wstring TestRegistryData::registryPath(const std::wstring& below) const {
    return L"HKEY_CURRENT_USER\\" + path_ + (below.empty() ? L"" : L"\\" + below);
}

void addNumbered(std::vector<std::wstring>& entries, const wchar_t* format, unsigned count, unsigned first) {
    wchar_t entry[256];
    for (unsigned number = first; number < first + count; ++number) {
        std::swprintf(entry, 256, format, number);
        entries.push_back(entry);
    }
}
