#include "tests/support/registry_data.h"

#include <cstdio>

#include "tools/standin/registry_key.h"

RegistryKeySpec keyWithNumberedSubkeys(const std::wstring& name, const std::wstring& prefix, unsigned count,
                                       unsigned digits) {
    RegistryKeySpec key{name, {}, {}};
    wchar_t number[16];
    for (unsigned index = 0; index < count; ++index) {
        std::swprintf(number, 16, L"%0*u", static_cast<int>(digits), index);
        key.add(RegistryKeySpec{prefix + number, {}, {}});
    }
    return key;
}

RegistryKeySpec sampleTestTree() {
    RegistryKeySpec root{L"HivescoutTest",
                         {{L"", L"default text"}, {L"MixedCase", L"mixed"}, {L"Gr\u00FC\u00DFe", L"non-ASCII name"},
                          {L"\u00C4rger", L"accented capital"}, {L"Trailing  ", L"two trailing blanks"},
                          {L"Shared", L"a value named like a key"}},
                         {{L"Alpha", {{L"A", L"1"}}, {}},
                          {L"beta", {{L"B", L"2"}}, {}},
                          {L"GAMMA", {}, {{L"Inner", {}, {}}}},
                          {L"\u00DCnic\u00F6de", {{L"\u00E9t\u00E9", L"summer"}}, {}},
                          {L"Trailing ", {{L"x", L"y"}}, {}},
                          {L"Shared", {{L"InsideShared", L"z"}}, {}},
                          {L"Empty", {}, {}}}};
    return root.add(RegistryKeySpec{L"Nested", {}, {{L"Level2", {}, {{L"Level3", {{L"Deep", L"bottom"}}, {}}}}}});
}

namespace {

bool writeKey(HKEY parent, const RegistryKeySpec& described) {
    RegistryKey key;
    if (::RegCreateKeyExW(parent, described.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    for (const RegistryValueSpec& value : described.values)
        if (::RegSetValueExW(key.get(), value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                             static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            return false;
    for (const RegistryKeySpec& subkey : described.subkeys)
        if (!writeKey(key.get(), subkey)) return false;
    return true;
}

bool deleteTree(const std::wstring& path) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    RegistryKey probe;
    return probe.open(HKEY_CURRENT_USER, path.c_str()) == ERROR_FILE_NOT_FOUND;
}

}  // namespace

TestRegistryData::TestRegistryData(const RegistryKeySpec& root) : path_(L"Software\\" + root.name) {
    created_ = !root.name.empty() && deleteTree(path_) && writeKey(HKEY_CURRENT_USER, RegistryKeySpec{L"Software", {}, {root}});
}

TestRegistryData::~TestRegistryData() { deleteTree(path_); }

std::wstring TestRegistryData::registryPath(const std::wstring& below) const {
    return L"HKEY_CURRENT_USER\\" + path_ + (below.empty() ? L"" : L"\\" + below);
}
