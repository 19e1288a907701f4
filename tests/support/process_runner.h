#pragma once
// Runs Windows programs as a test would from a console: standard output and standard error go to files (pipes could
// be held open by programs they start), and the full 32-bit exit code is read with GetExitCodeProcess.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/handle.h"

struct ProcessResult {
    std::uint32_t exitCode = 0xFFFFFFFFu;
    bool timedOut = false, started = false;
    DWORD processId = 0;
    std::string standardOutput, standardError;  // bytes as written
};

struct RunOptions {
    std::map<std::wstring, std::wstring> environment;  // added to (or replacing in) ours
    DWORD timeoutMs = 60000;
    std::wstring currentDirectory = {};
};

// A program started without waiting; ended with the object.
class RunningProcess {
public:
    explicit RunningProcess(const std::wstring& commandLine, const RunOptions& options = {});
    ~RunningProcess();
    bool started() const { return static_cast<bool>(process_); }
    DWORD processId() const { return processId_; }
    HANDLE handle() const { return process_.get(); }
    // Waits for the end (ending the program after the time-out) and reads its output.
    ProcessResult wait(DWORD timeoutMs = 60000);
    // Until the standard output holds the text; false when the program ended first.
    bool waitForOutput(const std::string& text, DWORD timeoutMs = 30000) const;
    // Until the program runs at least this many threads that start in its own file (its main thread and those it
    // makes, not the loader's workers); false when it ended first.
    bool waitForThreads(std::size_t count, DWORD timeoutMs = 30000) const;

private:
    hivescout::UniqueHandle process_;
    DWORD processId_ = 0;
    std::wstring outputPath_, errorPath_;
};
ProcessResult runProcess(const std::wstring& commandLine, const RunOptions& options = {});

std::vector<DWORD> threadIds(DWORD processId);
std::wstring temporaryPath(const std::wstring& name);
std::string readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, const std::string& bytes);
std::wstring ownDirectory();  // of the running program, with a trailing backslash
std::wstring fromUtf8(const std::string& bytes);
std::string toUtf8(const std::wstring& text);
std::wstring quoteArgument(const std::wstring& word);  // by the system's rules, when needed
inline std::wstring switchWord(const std::wstring& name, const std::wstring& value) {
    return quoteArgument(name + L"=" + value);
}

// The lines with "Process ID: <pid>" or "(Error) Process ID: <pid>" taken off the front.
std::vector<std::wstring> withoutPrefixes(const std::vector<std::wstring>& lines, DWORD pid);
// One run of the real hivescout.exe (next to the running program) and its report lines.
struct HivescoutRun {
    ProcessResult process;
    std::vector<std::wstring> outputLines, errorLines;
    std::uint32_t exitCode() const { return process.exitCode; }
    std::vector<std::wstring> outputMessages() const { return withoutPrefixes(outputLines, process.processId); }
    std::vector<std::wstring> errorMessages() const { return withoutPrefixes(errorLines, process.processId); }
};
std::wstring hivescoutPath();
HivescoutRun runHivescout(const std::wstring& arguments, const RunOptions& options = {});
// Splits text at CR LF; textModeOk tells whether every line feed had its carriage return.
std::vector<std::wstring> splitReportLines(const std::string& bytes, bool* textModeOk = nullptr);

// Holds a named mutex as another copy of the tool would, until stopped, on the thread that made the object (which
// must be the one that stops it: a mutex is owned by a thread).
class MutexHolder {
public:
    explicit MutexHolder(const std::wstring& name) : mutex_(::CreateMutexW(nullptr, TRUE, name.c_str())) {}
    ~MutexHolder() { stop(); }
    void stop() {
        if (mutex_) ::ReleaseMutex(mutex_.get());
        mutex_.reset();
    }

private:
    hivescout::UniqueHandle mutex_;
};
