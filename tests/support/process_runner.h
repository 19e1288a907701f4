#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

// Runs a Windows program as a test would from a console: its standard output and
// standard error go to files (pipes could be held open by programs it starts), and its
// full 32-bit exit code is read with GetExitCodeProcess.
struct ProcessResult {
    std::uint32_t exitCode = 0xFFFFFFFFu;
    bool timedOut = false;
    bool started = false;
    DWORD processId = 0;
    std::string standardOutput;  // bytes as written
    std::string standardError;
};

struct RunOptions {
    std::map<std::wstring, std::wstring> environment;  // added to (or replacing in) ours
    DWORD timeoutMs = 60000;
    std::wstring currentDirectory;
};

ProcessResult runProcess(const std::wstring& commandLine, const RunOptions& options = {});

// A program started without waiting; the result is collected by wait().
class RunningProcess {
public:
    RunningProcess(const std::wstring& commandLine, const RunOptions& options = {});
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;
    ~RunningProcess();

    bool started() const { return process_ != nullptr; }
    DWORD processId() const { return processId_; }
    HANDLE handle() const { return process_; }
    // Waits for the end (ending the program after the time-out) and reads its output.
    ProcessResult wait(DWORD timeoutMs = 60000);
    // What the program has written to its standard output so far.
    std::string outputSoFar() const;
    // Waits until the standard output holds the text; false when the program ended first
    // or the time ran out.
    bool waitForOutput(const std::string& text, DWORD timeoutMs = 30000) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::wstring outputPath_;
    std::wstring errorPath_;
};

// A path in the temporary directory, and a file's bytes read or written whole.
std::wstring temporaryPath(const std::wstring& name);
std::string readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, const std::string& bytes);

// The directory of the running test program, with a trailing backslash.
std::wstring ownDirectory();

// UTF-8 bytes to UTF-16, and the other way.
std::wstring fromUtf8(const std::string& bytes);
std::string toUtf8(const std::wstring& text);

// Quotes one command-line word by the system's rules when it needs it.
std::wstring quoteArgument(const std::wstring& word);
