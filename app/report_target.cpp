#include "app/report_target.h"

#include "app/report_encoding.h"

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool writeAll(HANDLE handle, const char* bytes, std::size_t count) {
    while (count > 0) {
        const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!::WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != FALSE;
}

// Far beyond any real file size, so the lock never covers bytes that are written.
OVERLAPPED appendLockPosition() {
    OVERLAPPED position{};
    position.Offset = 0xFFFFFFFEu;
    position.OffsetHigh = 0x7FFFFFFFu;
    return position;
}

}  // namespace

std::streamsize ReportTargetBuffer::xsputn(const wchar_t* text, std::streamsize count) {
    if (count <= 0) return 0;
    return writeText(text, static_cast<std::size_t>(count)) ? count : 0;
}

ReportTargetBuffer::int_type ReportTargetBuffer::overflow(int_type unit) {
    if (traits_type::eq_int_type(unit, traits_type::eof())) return traits_type::not_eof(unit);
    const wchar_t text = traits_type::to_char_type(unit);
    return writeText(&text, 1) ? unit : traits_type::eof();
}

bool StandardHandleBuffer::writeText(const wchar_t* text, std::size_t length) {
    const HANDLE handle = ::GetStdHandle(standardHandleId_);
    if (!UniqueHandle::isValid(handle)) return false;
    if (isConsole(handle)) {
        const std::wstring consoleText = toConsoleText(text, length);
        DWORD written = 0;
        return ::WriteConsoleW(handle, consoleText.data(), static_cast<DWORD>(consoleText.size()), &written, nullptr) != FALSE;
    }
    const std::string bytes = encodeReportText(text, length);
    return writeAll(handle, bytes.data(), bytes.size());
}

bool StandardHandleBuffer::writeBytes(const char* bytes, std::size_t count) {
    const HANDLE handle = ::GetStdHandle(standardHandleId_);
    if (!UniqueHandle::isValid(handle)) return false;
    if (isConsole(handle)) {
        DWORD written = 0;
        return ::WriteConsoleA(handle, bytes, static_cast<DWORD>(count), &written, nullptr) != FALSE;
    }
    return writeAll(handle, bytes, count);
}

LogFileBuffer::LogFileBuffer(const std::wstring& path)
    : file_(::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

bool LogFileBuffer::writeText(const wchar_t* text, std::size_t length) {
    const std::string bytes = encodeReportText(text, length);
    return writeBytes(bytes.data(), bytes.size());
}

bool LogFileBuffer::writeBytes(const char* bytes, std::size_t count) {
    if (!file_) return false;
    OVERLAPPED lockPosition = appendLockPosition();
    if (!::LockFileEx(file_.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockPosition)) return false;
    LARGE_INTEGER noMove{};
    const bool written = ::SetFilePointerEx(file_.get(), noMove, nullptr, FILE_END) && writeAll(file_.get(), bytes, count);
    lockPosition = appendLockPosition();
    ::UnlockFileEx(file_.get(), 0, 1, 0, &lockPosition);
    return written;
}

bool truncateFile(const std::wstring& path) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}
