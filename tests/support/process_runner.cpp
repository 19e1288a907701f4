#include "tests/support/process_runner.h"

#include <tlhelp32.h>

#include <fstream>

namespace {

HANDLE openInheritable(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::wstring uniqueTemporaryPath(const wchar_t* prefix) {
    wchar_t path[MAX_PATH + 1] = {};
    ::GetTempFileNameW(temporaryPath(L"").c_str(), prefix, 0, path);
    return path;
}

// Threads whose start address lies in the program's file (the first module listed).
std::size_t ownThreadCount(DWORD processId) {
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query =
        reinterpret_cast<Query>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread"));
    const hivescout::UniqueHandle modules(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    MODULEENTRY32W program{sizeof(program)};
    if (!modules || !::Module32FirstW(modules.get(), &program)) return 0;
    std::size_t count = 0;
    for (const DWORD id : threadIds(processId)) {
        const hivescout::UniqueHandle thread(::OpenThread(THREAD_QUERY_INFORMATION, FALSE, id));
        std::uintptr_t start = 0;  // 9: ThreadQuerySetWin32StartAddress
        if (thread && query(thread.get(), 9, &start, sizeof(start), nullptr) == 0)
            count += start - reinterpret_cast<std::uintptr_t>(program.modBaseAddr) < program.modBaseSize;
    }
    return count;
}

template <typename Condition>
bool pollWhileRunning(HANDLE process, DWORD timeoutMs, Condition condition) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(5)) {
        const bool running = process && ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
        if (condition()) return true;
        if (!running) return false;
    }
    return false;
}

}  // namespace

// The variables are set in this process for the moment of the start and inherited.
RunningProcess::RunningProcess(const std::wstring& commandLine, const RunOptions& options)
    : outputPath_(uniqueTemporaryPath(L"out")), errorPath_(uniqueTemporaryPath(L"err")) {
    const hivescout::UniqueHandle input(openInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING)),
        output(openInheritable(outputPath_, GENERIC_WRITE, CREATE_ALWAYS)),
        error(openInheritable(errorPath_, GENERIC_WRITE, CREATE_ALWAYS));
    STARTUPINFOW startup{sizeof(startup)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = output.get();
    startup.hStdError = error.get();
    std::map<std::wstring, std::wstring> saved;
    for (const auto& [name, value] : options.environment) {
        wchar_t old[4096] = {};
        saved[name] = ::GetEnvironmentVariableW(name.c_str(), old, 4096) ? old : L"";
        ::SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    const wchar_t* const directory = options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str();
    // A start the system refuses is tried once more: under Wine about one in 5,000 starts fails under load.
    for (int attempt = 0; attempt < 2 && !process_; ++attempt) {
        std::wstring writable = commandLine;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE, 0, nullptr, directory, &startup, &info))
            continue;
        process_.reset(info.hProcess);
        processId_ = info.dwProcessId;
        ::CloseHandle(info.hThread);
    }
    for (const auto& [name, value] : saved)
        ::SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
}

RunningProcess::~RunningProcess() {
    if (process_ && ::TerminateProcess(process_.get(), 0xDEAD)) ::WaitForSingleObject(process_.get(), 5000);
    ::DeleteFileW(outputPath_.c_str());
    ::DeleteFileW(errorPath_.c_str());
}

ProcessResult RunningProcess::wait(DWORD timeoutMs) {
    if (!process_) return {};
    const bool timedOut = ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0;
    if (timedOut && ::TerminateProcess(process_.get(), 0xDEAD)) ::WaitForSingleObject(process_.get(), 5000);
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return {code, timedOut, true, processId_, readFileBytes(outputPath_), readFileBytes(errorPath_)};
}

bool RunningProcess::waitForOutput(const std::string& text, DWORD timeoutMs) const {
    return pollWhileRunning(process_.get(), timeoutMs,
                            [&] { return readFileBytes(outputPath_).find(text) != std::string::npos; });
}

bool RunningProcess::waitForThreads(std::size_t count, DWORD timeoutMs) const {
    return pollWhileRunning(process_.get(), timeoutMs, [&] { return ownThreadCount(processId_) >= count; });
}

std::vector<DWORD> threadIds(DWORD processId) {
    std::vector<DWORD> ids;
    const hivescout::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{sizeof(entry)};
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == processId) ids.push_back(entry.th32ThreadID);
    return ids;
}

ProcessResult runProcess(const std::wstring& commandLine, const RunOptions& options) {
    return RunningProcess(commandLine, options).wait(options.timeoutMs);
}

std::wstring temporaryPath(const std::wstring& name) {
    wchar_t directory[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, directory);
    return directory + name;
}

std::string readFileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void writeFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << bytes;
}

std::wstring ownDirectory() {
    wchar_t path[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.erase(text.rfind(L'\\') + 1);
}

std::wstring fromUtf8(const std::string& bytes) {
    const int size = static_cast<int>(bytes.size());
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), size)));
    return text;
}

std::string toUtf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), size * 3, nullptr, nullptr)));
    return bytes;
}

std::wstring quoteArgument(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos) return word;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    // Backslashes are doubled where a quote follows them, and one more escapes a quote of the word.
    for (wchar_t unit : word) {
        if (unit == L'"') quoted.append(backslashes + 1, L'\\');
        quoted += unit;
        backslashes = unit == L'\\' ? backslashes + 1 : 0;
    }
    return quoted.append(backslashes, L'\\') + L'"';
}

std::vector<std::wstring> withoutPrefixes(const std::vector<std::wstring>& lines, DWORD pid) {
    const std::wstring id = std::to_wstring(pid);
    std::vector<std::wstring> messages = lines;
    for (std::wstring& line : messages)
        for (const std::wstring prefix : {L"Process ID: ", L"(Error) Process ID: "})
            if (line.rfind(prefix + id, 0) == 0) line.erase(0, prefix.size() + id.size());
    return messages;
}

std::wstring hivescoutPath() { return ownDirectory() + L"hivescout.exe"; }

HivescoutRun runHivescout(const std::wstring& arguments, const RunOptions& options) {
    const ProcessResult process = runProcess(quoteArgument(hivescoutPath()) + L" " + arguments, options);
    return {process, splitReportLines(process.standardOutput), splitReportLines(process.standardError)};
}

std::vector<std::wstring> splitReportLines(const std::string& bytes, bool* textModeOk) {
    bool ok = true;
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        const bool crlf = end > start && bytes[end - 1] == '\r';
        ok = ok && crlf;
        lines.push_back(fromUtf8(bytes.substr(start, end - start - (crlf ? 1 : 0))));
    }
    if (start < bytes.size()) lines.push_back(fromUtf8(bytes.substr(start)));
    if (textModeOk) *textModeOk = ok;
    return lines;
}
