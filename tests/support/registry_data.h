#pragma once
// Registry test data, described as a tree of keys with string values and written under
// HKEY_CURRENT_USER\Software (the Wine session's prefix is private, so never a user's).
#include <windows.h>

#include <string>
#include <vector>

struct RegistryValueSpec {
    std::wstring name;
    std::wstring text;
};
inline RegistryValueSpec stringValue(const std::wstring& name, const std::wstring& text) { return {name, text}; }

struct RegistryKeySpec {
    std::wstring name;
    std::vector<RegistryValueSpec> values;
    std::vector<RegistryKeySpec> subkeys;
    RegistryKeySpec& add(RegistryValueSpec value) { return values.push_back(std::move(value)), *this; }
    RegistryKeySpec& add(RegistryKeySpec subkey) { return subkeys.push_back(std::move(subkey)), *this; }
};

// A key with count empty subkeys named prefix + a zero-padded number ("Key0000" ...).
RegistryKeySpec keyWithNumberedSubkeys(const std::wstring& name, const std::wstring& prefix, unsigned count,
                                       unsigned digits);

// The usual test tree "HivescoutTest": names in mixed case, outside ASCII and with
// trailing blanks, a key and a value both named "Shared", a key with neither values nor
// subkeys ("Empty") and the chain "Nested\Level2\Level3".
RegistryKeySpec sampleTestTree();

// The key as HKEY_CURRENT_USER\Software\<name>, replacing whatever had the name, for the
// life of the object.
class TestRegistryData {
public:
    explicit TestRegistryData(const RegistryKeySpec& root);
    ~TestRegistryData();
    TestRegistryData(const TestRegistryData&) = delete;
    TestRegistryData& operator=(const TestRegistryData&) = delete;
    bool created() const { return created_; }
    // "HKEY_CURRENT_USER\Software\<root>" followed by "\" and below when given.
    std::wstring registryPath(const std::wstring& below = std::wstring()) const;

private:
    std::wstring path_;
    bool created_ = false;
};
