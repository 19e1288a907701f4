#pragma once
#include <windows.h>

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

#include "base/handle.h"

namespace hivescout {

// Writes count bytes through writeOnce(bytes, count, written) until all are written. A
// write that fails or stops short is retried from where it stopped, never from the
// start, for as long as the budget lasts (0: one attempt). No allocation, so the
// termination path may use it.
template <typename WriteOnce>
bool writeRemaining(const char* bytes, std::size_t count, DWORD budgetMs, WriteOnce writeOnce) {
    const DWORD start = ::GetTickCount();
    while (count > 0) {
        std::size_t written = 0;
        const bool ok = writeOnce(bytes, count, written);
        // What a failed write did get through is never written again.
        if (written > count) written = count;
        bytes += written;
        count -= written;
        if (ok && written > 0) continue;
        if (count > 0 && ::GetTickCount() - start >= budgetMs) return false;
    }
    return true;
}

// A stream buffer without buffering: every insertion reaches the system as one write,
// so a composed report of several lines is never torn apart by another writer.
class ReportTargetBuffer : public std::wstreambuf {
public:
    // Writes one composed report whole, retrying what is left of it for up to retryMs.
    bool writeReport(const std::wstring& text, DWORD retryMs);

    // Writes bytes that are already in their final form, waiting at most lockWaitMs for
    // another writer. Used by the termination path, which may not allocate memory.
    virtual bool writeBytes(const char* bytes, std::size_t count, DWORD retryMs, DWORD lockWaitMs) = 0;

protected:
    virtual bool writeText(const wchar_t* text, std::size_t length, DWORD retryMs) = 0;

    std::streamsize xsputn(const wchar_t* text, std::streamsize count) override;
    int_type overflow(int_type unit) override;
};

// Standard output or standard error of the process, looked up at every write: a GUI
// program usually has none, and then every write fails quietly.
class StandardHandleBuffer final : public ReportTargetBuffer {
public:
    explicit StandardHandleBuffer(DWORD standardHandleId) : standardHandleId_(standardHandleId) {}
    bool writeBytes(const char* bytes, std::size_t count, DWORD retryMs, DWORD lockWaitMs) override;

protected:
    bool writeText(const wchar_t* text, std::size_t length, DWORD retryMs) override;

private:
    DWORD standardHandleId_;
};

// A log file shared with other copies of the program. Each write takes an exclusive
// byte-range lock, moves to the end and writes, so appends made under the lock never
// overwrite each other (a plain append handle is not atomic everywhere). Targets that
// cannot be locked (devices, pipes, some network redirectors) get a plain append instead,
// and a lock that another process keeps for long is given up on rather than waited for:
// those appends may then mix with others.
class LogFileBuffer final : public ReportTargetBuffer {
public:
    // Opens the file for appending, creating it when needed, and keeps it only when it is
    // no link (base/log_file_check.h). Check isOpen(); when it is not, openError() holds the
    // system's code, or refusal() why the file that opened was not kept.
    explicit LogFileBuffer(const std::wstring& path);
    bool isOpen() const { return static_cast<bool>(file_); }
    DWORD openError() const { return openError_; }
    const std::wstring& refusal() const { return refusal_; }
    // Empties the file through the handle that was checked.
    bool truncate();
    bool writeBytes(const char* bytes, std::size_t count, DWORD retryMs, DWORD lockWaitMs) override;

protected:
    bool writeText(const wchar_t* text, std::size_t length, DWORD retryMs) override;

private:
    UniqueHandle file_;
    bool lockable_ = true;
    DWORD openError_ = 0;
    std::wstring refusal_;
};

// How long an ordinary report waits for the append lock before it appends without it.
constexpr DWORD kAppendLockWaitMs = 1000;

// Whether a thread of this process is inside the locked append of a log file. A thread
// suspended there keeps the lock for good; the termination path then writes without it.
bool appendLockHeldInProcess();

// A wide stream that owns its target buffer.
template <typename Buffer>
class ReportTargetStream : public std::wostream {
public:
    template <typename... Args>
    explicit ReportTargetStream(Args&&... args) : std::wostream(nullptr), buffer_(std::forward<Args>(args)...) {
        rdbuf(&buffer_);
    }
    Buffer& buffer() { return buffer_; }

private:
    Buffer buffer_;
};

using StandardStream = ReportTargetStream<StandardHandleBuffer>;
using LogFileStream = ReportTargetStream<LogFileBuffer>;

}  // namespace hivescout
