#include "tests/support/registry_data.h"

#include <cstdio>

#include "tools/standin/registry_key.h"

RegistryValueSpec stringValue(const std::wstring& name, const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {name, REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

RegistryValueSpec dwordValue(const std::wstring& name, DWORD number) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&number);
    return {name, REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof(number))};
}

RegistryKeySpec& RegistryKeySpec::add(RegistryValueSpec value) {
    values.push_back(std::move(value));
    return *this;
}

RegistryKeySpec& RegistryKeySpec::add(RegistryKeySpec subkey) {
    subkeys.push_back(std::move(subkey));
    return *this;
}

RegistryKeySpec keyWithNumberedSubkeys(const std::wstring& name, const std::wstring& prefix, unsigned count,
                                       unsigned digits) {
    RegistryKeySpec key{name, {}, {}};
    key.subkeys.reserve(count);
    wchar_t number[32];
    for (unsigned index = 0; index < count; ++index) {
        std::swprintf(number, std::size(number), L"%0*u", static_cast<int>(digits), index);
        key.subkeys.push_back(RegistryKeySpec{prefix + number, {}, {}});
    }
    return key;
}

RegistryKeySpec sampleTestTree() {
    RegistryKeySpec root{L"HivescoutTest", {}, {}};
    root.add(stringValue(L"", L"default text"))
        .add(stringValue(L"MixedCase", L"mixed"))
        .add(dwordValue(L"Number", 42))
        .add(stringValue(L"Gr\u00FC\u00DFe", L"non-ASCII name"))
        .add(stringValue(L"\u00C4rger", L"accented capital"))
        .add(stringValue(L"Trailing  ", L"two trailing blanks"))
        .add(stringValue(L"Shared", L"a value named like a key"));
    root.add(RegistryKeySpec{L"Alpha", {stringValue(L"A", L"1")}, {}})
        .add(RegistryKeySpec{L"beta", {stringValue(L"B", L"2")}, {}})
        .add(RegistryKeySpec{L"GAMMA", {}, {RegistryKeySpec{L"Inner", {}, {}}}})
        .add(RegistryKeySpec{L"\u00DCnic\u00F6de", {stringValue(L"\u00E9t\u00E9", L"summer")}, {}})
        .add(RegistryKeySpec{L"Trailing ", {stringValue(L"x", L"y")}, {}})
        .add(RegistryKeySpec{L"Shared", {stringValue(L"InsideShared", L"z")}, {}})
        .add(RegistryKeySpec{L"Empty", {}, {}});
    RegistryKeySpec level3{L"Level3", {stringValue(L"Deep", L"bottom")}, {}};
    RegistryKeySpec level2{L"Level2", {}, {level3}};
    root.add(RegistryKeySpec{L"Nested", {}, {level2}});
    return root;
}

namespace {

bool writeKey(HKEY parent, const RegistryKeySpec& described) {
    RegistryKey key;
    if (::RegCreateKeyExW(parent, described.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          key.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    for (const RegistryValueSpec& value : described.values)
        if (::RegSetValueExW(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS)
            return false;
    for (const RegistryKeySpec& subkey : described.subkeys)
        if (!writeKey(key.get(), subkey)) return false;
    return true;
}

}  // namespace

bool writeRegistryTree(HKEY parent, const std::wstring& path, const RegistryKeySpec& key) {
    RegistryKey base;
    if (::RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          base.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return writeKey(base.get(), key);
}

bool deleteRegistryTree(HKEY parent, const std::wstring& path) {
    ::RegDeleteTreeW(parent, path.c_str());
    ::RegDeleteKeyW(parent, path.c_str());
    RegistryKey probe;
    return probe.open(parent, path.c_str()) == ERROR_FILE_NOT_FOUND;
}

TestRegistryData::TestRegistryData(const RegistryKeySpec& root) : rootName_(root.name) {
    const std::wstring path = std::wstring(kParentPath) + L"\\" + rootName_;
    created_ = !rootName_.empty() && deleteRegistryTree(HKEY_CURRENT_USER, path) &&
               writeRegistryTree(HKEY_CURRENT_USER, kParentPath, root);
}

TestRegistryData::~TestRegistryData() {
    if (!rootName_.empty()) deleteRegistryTree(HKEY_CURRENT_USER, std::wstring(kParentPath) + L"\\" + rootName_);
}

std::wstring TestRegistryData::registryPath(const std::wstring& below) const {
    std::wstring path = std::wstring(L"HKEY_CURRENT_USER\\") + kParentPath + L"\\" + rootName_;
    return below.empty() ? path : path + L"\\" + below;
}
