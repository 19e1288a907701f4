#pragma once
#include <windows.h>

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

#include "app/handle.h"

// A stream buffer without buffering: every insertion reaches the system as one write,
// so a composed report of several lines is never torn apart by another writer.
class ReportTargetBuffer : public std::wstreambuf {
public:
    // Writes bytes that are already in their final form. Used by the termination path,
    // which may not allocate memory.
    virtual bool writeBytes(const char* bytes, std::size_t count) = 0;

protected:
    virtual bool writeText(const wchar_t* text, std::size_t length) = 0;

    std::streamsize xsputn(const wchar_t* text, std::streamsize count) override;
    int_type overflow(int_type unit) override;
};

// Standard output or standard error of the process, looked up at every write: a GUI
// program usually has none, and then every write fails quietly.
class StandardHandleBuffer final : public ReportTargetBuffer {
public:
    explicit StandardHandleBuffer(DWORD standardHandleId) : standardHandleId_(standardHandleId) {}
    bool writeBytes(const char* bytes, std::size_t count) override;

protected:
    bool writeText(const wchar_t* text, std::size_t length) override;

private:
    DWORD standardHandleId_;
};

// A log file shared with other copies of the program. Each write takes an exclusive
// byte-range lock, moves to the end and writes, so concurrent appends never overwrite
// each other (a plain append handle is not atomic everywhere).
class LogFileBuffer final : public ReportTargetBuffer {
public:
    // Opens the file for appending, creating it when needed. Check isOpen().
    explicit LogFileBuffer(const std::wstring& path);
    bool isOpen() const { return static_cast<bool>(file_); }
    bool writeBytes(const char* bytes, std::size_t count) override;

protected:
    bool writeText(const wchar_t* text, std::size_t length) override;

private:
    UniqueHandle file_;
};

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

// Empties a file, creating it when it does not exist.
bool truncateFile(const std::wstring& path);
