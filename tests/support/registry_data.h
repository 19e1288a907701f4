#pragma once
// Registry test data under HKEY_CURRENT_USER\Software\<root> (the Wine session's prefix is private, so never a
// user's), replacing whatever had the name, for the life of the object. Each entry is a key path below the root, or
// a key path, "|" and the name of a string value in that key ("Alpha|A"; "|" alone is the root's default value).
#include <string>
#include <vector>

class TestRegistryData {
public:
    TestRegistryData(const std::wstring& root, const std::vector<std::wstring>& entries);
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

// Adds entries from a swprintf format with one number, first to first + count - 1.
void addNumbered(std::vector<std::wstring>& entries, const wchar_t* format, unsigned count, unsigned first = 0);
