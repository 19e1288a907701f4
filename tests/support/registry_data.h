#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Registry test data, described as a tree of keys and values and written under
// HKEY_CURRENT_USER\Software (the bench's prefix is private, so this is never a user's).

struct RegistryValueSpec {
    std::wstring name;
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
};

RegistryValueSpec stringValue(const std::wstring& name, const std::wstring& text);
RegistryValueSpec dwordValue(const std::wstring& name, DWORD number);

struct RegistryKeySpec {
    std::wstring name;
    std::vector<RegistryValueSpec> values;
    std::vector<RegistryKeySpec> subkeys;

    RegistryKeySpec& add(RegistryValueSpec value);
    RegistryKeySpec& add(RegistryKeySpec subkey);
};

// A key with count empty subkeys named prefix + a zero-padded number ("Key0000" ...).
RegistryKeySpec keyWithNumberedSubkeys(const std::wstring& name, const std::wstring& prefix, unsigned count,
                                       unsigned digits);

// The usual test tree "HivescoutTest": names in mixed case, names outside ASCII, names
// with trailing blanks, a key and a value of the same name ("Shared"), a key with neither
// values nor subkeys ("Empty") and a chain of nested keys ("Nested\Level2\Level3").
RegistryKeySpec sampleTestTree();

// Writes the key (and everything below it) as parent\path\key.name. False on any failure.
bool writeRegistryTree(HKEY parent, const std::wstring& path, const RegistryKeySpec& key);
// Deletes parent\path with all it holds. True when it is gone afterwards.
bool deleteRegistryTree(HKEY parent, const std::wstring& path);

// Test data under HKEY_CURRENT_USER\Software for the lifetime of the object: whatever had
// the root's name is replaced first, and everything is deleted at the end.
class TestRegistryData {
public:
    static constexpr wchar_t kParentPath[] = L"Software";

    explicit TestRegistryData(const RegistryKeySpec& root);
    ~TestRegistryData();
    TestRegistryData(const TestRegistryData&) = delete;
    TestRegistryData& operator=(const TestRegistryData&) = delete;

    bool created() const { return created_; }
    // "HKEY_CURRENT_USER\Software\<root>" followed by "\" and below when given.
    std::wstring registryPath(const std::wstring& below = std::wstring()) const;

private:
    std::wstring rootName_;
    bool created_ = false;
};
