#include "app/path_forms.h"

#include <algorithm>

#include "base/text_folding.h"
#include "base/text_trimming.h"

namespace hivescout {

// Constant-initialised, so that it is ready before any static initialiser of another file
// normalises a path.
constexpr std::array<RootKeyAlias, 5> rootKeyAliases = {{
    {L"HKLM", L"HKEY_LOCAL_MACHINE"},
    {L"HKCU", L"HKEY_CURRENT_USER"},
    {L"HKCC", L"HKEY_CURRENT_CONFIG"},
    {L"HKCR", L"HKEY_CLASSES_ROOT"},
    {L"HKU", L"HKEY_USERS"},
}};

namespace {

// What normalisation strips from a path's front; stripping it before the copied forms
// are recognised as well changes nothing.
const wchar_t kLeadingNoise[] = L"\\ \t\b\n\r";

// Prefixes and root names compare without regard to the case of A to Z only.
bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && foldToUpper(text.substr(0, prefix.size())) == foldToUpper(prefix);
}

std::wstring firstName(const std::wstring& path) { return path.substr(0, path.find(L'\\')); }

// Everything after the first backslash; empty when there is none.
std::wstring afterFirstName(const std::wstring& path) {
    const auto backslash = path.find(L'\\');
    return backslash == std::wstring::npos ? std::wstring() : path.substr(backslash + 1);
}

bool isRootName(const std::wstring& name) {
    const std::wstring upper = foldToUpper(name);
    for (const auto& alias : rootKeyAliases)
        if (upper == alias.shortName || upper == alias.longForm) return true;
    return false;
}

bool startsWithRoot(const std::wstring& path) { return isRootName(firstName(path)); }

std::wstring withoutEnclosing(const std::wstring& path, wchar_t open, wchar_t close) {
    if (path.size() >= 2 && path.front() == open && path.back() == close) return path.substr(1, path.size() - 2);
    return path;
}

// A .reg file names a key as [path], and a key to delete as [-path].
std::wstring withoutRegFileBrackets(const std::wstring& path) {
    const std::wstring inside = withoutEnclosing(path, L'[', L']');
    if (inside.size() == path.size()) return path;
    return !inside.empty() && inside.front() == L'-' ? inside.substr(1) : inside;
}

std::wstring withoutProviderPrefix(const std::wstring& path) {
    for (const wchar_t* prefix : {L"Microsoft.PowerShell.Core\\Registry::", L"Registry::"})
        if (startsWithNoCase(path, prefix)) return path.substr(std::wstring(prefix).size());
    return path;
}

std::wstring withRootForKernelPath(const std::wstring& path) {
    struct KernelRoot {
        const wchar_t* kernelName;
        const wchar_t* rootName;
    };
    static const KernelRoot kKernelRoots[] = {{L"REGISTRY\\MACHINE", L"HKEY_LOCAL_MACHINE"},
                                              {L"REGISTRY\\USER", L"HKEY_USERS"}};
    for (const auto& root : kKernelRoots) {
        const std::wstring name = root.kernelName;
        const bool wholeName = path.size() == name.size() || (path.size() > name.size() && path[name.size()] == L'\\');
        if (wholeName && startsWithNoCase(path, name)) return root.rootName + path.substr(name.size());
    }
    return path;
}

// A PowerShell drive: HKCU:\Software.
std::wstring withoutDriveColon(const std::wstring& path) {
    const std::wstring drive = firstName(path);
    if (drive.size() < 2 || drive.back() != L':' || !isRootName(drive.substr(0, drive.size() - 1))) return path;
    return drive.substr(0, drive.size() - 1) + path.substr(drive.size());
}

// The editor's address bar, or a status bar, shows the computer's name first, in the
// system's language: whatever first name stands before a root key.
std::wstring withoutComputerName(const std::wstring& path) {
    const std::wstring rest = afterFirstName(path);
    return startsWithRoot(rest) ? rest : path;
}

// A path that already starts with a root key is left alone, so that no path that was
// valid before changes meaning.
std::wstring rewriteCopiedPath(std::wstring path) {
    path = trimFront(trimBack(path, L"\r\n"), kLeadingNoise);
    if (startsWithRoot(path)) return path;
    path = trimFront(withoutEnclosing(path, L'"', L'"'), kLeadingNoise);
    path = withoutRegFileBrackets(path);
    path = withoutProviderPrefix(path);
    path = withRootForKernelPath(path);
    path = withoutDriveColon(path);
    return withoutComputerName(path);
}

}  // namespace

std::size_t normaliseJumpPath(std::wstring& path) {
    path = trimFront(rewriteCopiedPath(path), kLeadingNoise);
    const std::size_t givenSize = path.size();
    path = trimBack(path, L"\\");
    const std::size_t trailingBackslashes = givenSize - path.size();

    const auto backslash = path.find(L'\\');
    const std::wstring root = foldToUpper(path.substr(0, backslash));
    for (const auto& alias : rootKeyAliases) {
        if (root == alias.shortName) {
            path = alias.longForm + (backslash == std::wstring::npos ? std::wstring() : path.substr(backslash));
            break;
        }
    }
    return trailingBackslashes;
}

std::wstring firstNonEmptyLine(const std::wstring& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find_first_of(L"\r\n", start), text.size());
        const std::wstring line = text.substr(start, end - start);
        if (line.find_first_not_of(L" \t") != std::wstring::npos) return line;
        start = end + 1;
    }
    return std::wstring();
}

}  // namespace hivescout
