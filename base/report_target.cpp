#include "base/report_target.h"

#include <atomic>

#include "base/log_file_check.h"
#include "base/report_encoding.h"

namespace hivescout {

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Set while a thread of this process holds an append lock.
std::atomic<bool> appendLockHeld{false};

bool writeOnce(HANDLE handle, const char* bytes, std::size_t count, std::size_t& written) {
    const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
    DWORD done = 0;
    const bool ok = ::WriteFile(handle, bytes, chunk, &done, nullptr) != FALSE;
    written = done;
    return ok;
}

bool writeAll(HANDLE handle, const char* bytes, std::size_t count, DWORD retryMs) {
    return writeRemaining(bytes, count, retryMs, [handle](const char* rest, std::size_t left, std::size_t& written) {
        return writeOnce(handle, rest, left, written);
    });
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

enum class AppendLock { Held, Unsupported, Busy };

// Polls rather than blocks, so that no writer can be kept waiting without end by a
// lock that another process, or a suspended thread of this one, never gives back.
AppendLock takeAppendLock(HANDLE file, DWORD waitMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        OVERLAPPED position = appendLockPosition();
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &position))
            return AppendLock::Held;
        const DWORD error = ::GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) return AppendLock::Unsupported;
        if (::GetTickCount() - start >= waitMs) return AppendLock::Busy;
        ::Sleep(1);
    }
}

void giveAppendLockBack(HANDLE file) {
    OVERLAPPED position = appendLockPosition();
    ::UnlockFileEx(file, 0, 1, 0, &position);
}

bool appendAtEnd(HANDLE file, const char* bytes, std::size_t count, DWORD retryMs) {
    // Devices and pipes have no end to move to; they take the bytes as they come.
    LARGE_INTEGER noMove{};
    ::SetFilePointerEx(file, noMove, nullptr, FILE_END);
    return writeAll(file, bytes, count, retryMs);
}

}  // namespace

bool appendLockHeldInProcess() { return appendLockHeld.load(); }

bool ReportTargetBuffer::writeReport(const std::wstring& text, DWORD retryMs) {
    return text.empty() || writeText(text.data(), text.size(), retryMs);
}

std::streamsize ReportTargetBuffer::xsputn(const wchar_t* text, std::streamsize count) {
    if (count <= 0) return 0;
    return writeText(text, static_cast<std::size_t>(count), 0) ? count : 0;
}

ReportTargetBuffer::int_type ReportTargetBuffer::overflow(int_type unit) {
    if (traits_type::eq_int_type(unit, traits_type::eof())) return traits_type::not_eof(unit);
    const wchar_t text = traits_type::to_char_type(unit);
    return writeText(&text, 1, 0) ? unit : traits_type::eof();
}

bool StandardHandleBuffer::writeText(const wchar_t* text, std::size_t length, DWORD retryMs) {
    const HANDLE handle = ::GetStdHandle(standardHandleId_);
    if (!KernelHandleKind::isValid(handle)) return false;
    if (isConsole(handle)) {
        const std::wstring consoleText = toConsoleText(text, length);
        DWORD written = 0;
        return ::WriteConsoleW(handle, consoleText.data(), static_cast<DWORD>(consoleText.size()), &written, nullptr) !=
               FALSE;
    }
    const std::string bytes = encodeReportText(text, length);
    return writeAll(handle, bytes.data(), bytes.size(), retryMs);
}

bool StandardHandleBuffer::writeBytes(const char* bytes, std::size_t count, DWORD retryMs, DWORD) {
    const HANDLE handle = ::GetStdHandle(standardHandleId_);
    if (!KernelHandleKind::isValid(handle)) return false;
    if (isConsole(handle)) {
        DWORD written = 0;
        return ::WriteConsoleA(handle, bytes, static_cast<DWORD>(count), &written, nullptr) != FALSE;
    }
    return writeAll(handle, bytes, count, retryMs);
}

namespace {

// A link on the last name is opened itself, not followed, and opening never empties: what
// was opened is checked first. A file this opening creates is opened so that it can be
// removed again, and so leaves nothing behind a link on the way when it is refused.
UniqueHandle openLogHandle(const std::wstring& path, bool& created) {
    const DWORD access = GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    // Another copy may create the file between the two calls; then it is there to open.
    for (int attempt = 0; attempt < 2; ++attempt) {
        UniqueHandle file(::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_NOT_FOUND) return file;
        file.reset(::CreateFileW(path.c_str(), access | DELETE, kShareAll, nullptr, CREATE_NEW, flags, nullptr));
        created = static_cast<bool>(file);
        if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueHandle();
}

}  // namespace

LogFileBuffer::LogFileBuffer(const std::wstring& path) {
    bool created = false;
    file_ = openLogHandle(path, created);
    LogFileFacts facts;
    if (!file_ || !readLogFileFacts(file_.get(), path, facts)) {
        openError_ = ::GetLastError();
        file_.reset();
        return;
    }
    refusal_ = logFileRefusal(facts);
    if (refusal_.empty()) return;
    FILE_DISPOSITION_INFO removed{TRUE};
    if (created) ::SetFileInformationByHandle(file_.get(), FileDispositionInfo, &removed, sizeof(removed));
    file_.reset();
}

bool LogFileBuffer::truncate() {
    LARGE_INTEGER start{};
    return file_ && ::SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN) && ::SetEndOfFile(file_.get());
}

bool LogFileBuffer::writeText(const wchar_t* text, std::size_t length, DWORD retryMs) {
    const std::string bytes = encodeReportText(text, length);
    return writeBytes(bytes.data(), bytes.size(), retryMs, kAppendLockWaitMs);
}

bool LogFileBuffer::writeBytes(const char* bytes, std::size_t count, DWORD retryMs, DWORD lockWaitMs) {
    if (!file_) return false;
    const AppendLock lock = lockable_ ? takeAppendLock(file_.get(), lockWaitMs) : AppendLock::Unsupported;
    if (lock == AppendLock::Unsupported) lockable_ = false;
    if (lock != AppendLock::Held) return appendAtEnd(file_.get(), bytes, count, retryMs);

    appendLockHeld = true;
    const bool written = appendAtEnd(file_.get(), bytes, count, retryMs);
    appendLockHeld = false;
    giveAppendLockBack(file_.get());
    return written;
}

}  // namespace hivescout
