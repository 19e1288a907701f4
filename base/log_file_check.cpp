#include "base/log_file_check.h"

#include <winioctl.h>

#include <cstring>

#include "base/report_texts.h"

namespace hivescout {

namespace {

// Calls that write a text into a buffer and, when it is too small, return the size they need.
template <typename Call>
std::wstring textOfCall(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return std::wstring();
        const bool fits = length < text.size();
        text.resize(length);
        if (fits) return text;
    }
    return std::wstring();
}

std::wstring finalPathOf(HANDLE file) {
    return textOfCall([file](wchar_t* buffer, DWORD size) {
        return ::GetFinalPathNameByHandleW(file, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    });
}

// Full, so that a relative name or one with . and .. compares; long, so that 8.3 names do.
std::wstring fullLongPath(const std::wstring& path) {
    const std::wstring full = textOfCall(
        [&path](wchar_t* buffer, DWORD size) { return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
    const std::wstring longForm =
        textOfCall([&full](wchar_t* buffer, DWORD size) { return ::GetLongPathNameW(full.c_str(), buffer, size); });
    return longForm.empty() ? full : longForm;
}

// Read from the link itself: following it to learn its target could reach out to a
// server the link names.
std::string reparseData(HANDLE file) {
    std::string data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE, '\0');
    DWORD size = 0;
    if (!::DeviceIoControl(file, FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(), static_cast<DWORD>(data.size()),
                           &size, nullptr))
        return std::string();
    data.resize(size);
    return data;
}

std::size_t littleEndianWord(const std::string& data, std::size_t at) {
    if (at + 2 > data.size()) return 0;
    return static_cast<unsigned char>(data[at]) | static_cast<std::size_t>(static_cast<unsigned char>(data[at + 1]))
                                                      << 8;
}

}  // namespace

std::wstring withoutLongPrefix(std::wstring_view path) {
    for (const std::wstring_view unc : {L"\\\\?\\UNC\\", L"\\??\\UNC\\"})
        if (path.substr(0, unc.size()) == unc) return L"\\\\" + std::wstring(path.substr(unc.size()));
    for (const std::wstring_view prefix : {L"\\\\?\\", L"\\??\\"})
        if (path.substr(0, prefix.size()) == prefix) return std::wstring(path.substr(prefix.size()));
    return std::wstring(path);
}

bool sameFullPath(std::wstring_view first, std::wstring_view second) {
    const std::wstring a = withoutLongPrefix(first), b = withoutLongPrefix(second);
    // The file system's own case folding, which goes beyond A to Z.
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring reparseTargetName(const std::string& data) {
    const DWORD tag = static_cast<DWORD>(littleEndianWord(data, 0) | littleEndianWord(data, 2) << 16);
    // The names follow a header of four words, and a symbolic link's flags.
    const std::size_t names = tag == IO_REPARSE_TAG_SYMLINK ? 20 : tag == IO_REPARSE_TAG_MOUNT_POINT ? 16 : 0;
    const auto name = [&](std::size_t field) {
        const std::size_t start = names + littleEndianWord(data, field), bytes = littleEndianWord(data, field + 2);
        std::wstring text(bytes / 2, L'\0');
        if (names == 0 || start + bytes > data.size()) return std::wstring();
        std::memcpy(text.data(), data.data() + start, text.size() * sizeof(wchar_t));
        return text;
    };
    // The name the link shows, or the system's name of its target when it shows none.
    const std::wstring shown = name(12);
    return withoutLongPrefix(shown.empty() ? name(8) : shown);
}

std::wstring logFileRefusal(const LogFileFacts& facts) {
    if (!facts.onDisk) return std::wstring();
    std::wstring why;
    if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        why = facts.linkTarget.empty() ? std::wstring(text::kLogLinkUnknown) : text::kLogLink + facts.linkTarget;
    else if (!sameFullPath(facts.askedPath, facts.finalPath))
        why = text::kLogReachedThroughLink + withoutLongPrefix(facts.finalPath);
    else if (facts.linkCount > 1)
        why = text::kLogHardLink + std::to_wstring(facts.linkCount) + text::kLogHardLinkNames;
    else
        return std::wstring();
    return why + text::kLogLinkRefused;
}

bool readLogFileFacts(HANDLE file, const std::wstring& askedPath, LogFileFacts& facts) {
    facts.onDisk = ::GetFileType(file) == FILE_TYPE_DISK;
    if (!facts.onDisk) return true;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information)) return false;
    facts.attributes = information.dwFileAttributes;
    facts.linkCount = information.nNumberOfLinks;
    facts.finalPath = finalPathOf(file);
    if (facts.finalPath.empty()) return false;
    facts.askedPath = fullLongPath(askedPath);
    if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) facts.linkTarget = reparseTargetName(reparseData(file));
    return !facts.askedPath.empty();
}

}  // namespace hivescout
