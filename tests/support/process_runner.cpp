#include "tests/support/process_runner.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::wstring tempFilePath(const wchar_t* prefix) {
    wchar_t directory[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, directory);
    wchar_t path[MAX_PATH + 1] = {};
    ::GetTempFileNameW(directory, prefix, 0, path);
    return path;
}

HANDLE openInheritable(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::vector<wchar_t> environmentBlock(const std::map<std::wstring, std::wstring>& overrides) {
    std::map<std::wstring, std::wstring> variables;
    if (LPWCH block = ::GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
            const std::wstring text(entry);
            const auto equals = text.find(L'=', 1);
            if (equals != std::wstring::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
        }
        ::FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : overrides) variables[name] = value;
    std::vector<wchar_t> result;
    for (const auto& [name, value] : variables) {
        const std::wstring entry = name + L"=" + value;
        result.insert(result.end(), entry.begin(), entry.end());
        result.push_back(L'\0');
    }
    result.push_back(L'\0');
    return result;
}

}  // namespace

RunningProcess::RunningProcess(const std::wstring& commandLine, const RunOptions& options)
    : outputPath_(tempFilePath(L"out")), errorPath_(tempFilePath(L"err")) {
    HANDLE input = openInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE output = openInheritable(outputPath_, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE error = openInheritable(errorPath_, GENERIC_WRITE, CREATE_ALWAYS);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;

    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    std::vector<wchar_t> environment = environmentBlock(options.environment);
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                         environment.data(),
                         options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(), &startup,
                         &info)) {
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        ::CloseHandle(info.hThread);
    }
    for (HANDLE handle : {input, output, error})
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
}

RunningProcess::~RunningProcess() {
    if (process_) {
        if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_, 0xDEAD);
        ::CloseHandle(process_);
    }
    ::DeleteFileW(outputPath_.c_str());
    ::DeleteFileW(errorPath_.c_str());
}

ProcessResult RunningProcess::wait(DWORD timeoutMs) {
    ProcessResult result;
    result.processId = processId_;
    if (!process_) return result;
    result.started = true;
    if (::WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        result.timedOut = true;
        ::TerminateProcess(process_, 0xDEAD);
        ::WaitForSingleObject(process_, 5000);
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    result.exitCode = code;
    result.standardOutput = readFileBytes(outputPath_);
    result.standardError = readFileBytes(errorPath_);
    return result;
}

std::string RunningProcess::outputSoFar() const { return readFileBytes(outputPath_); }

bool RunningProcess::waitForOutput(const std::string& text, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (outputSoFar().find(text) != std::string::npos) return true;
        if (!process_ || ::WaitForSingleObject(process_, 0) != WAIT_TIMEOUT) return outputSoFar().find(text) != std::string::npos;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(5);
    }
}

ProcessResult runProcess(const std::wstring& commandLine, const RunOptions& options) {
    RunningProcess process(commandLine, options);
    return process.wait(options.timeoutMs);
}

std::wstring temporaryPath(const std::wstring& name) {
    wchar_t directory[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, directory);
    return std::wstring(directory) + name;
}

std::string readFileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void writeFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::wstring ownDirectory() {
    wchar_t path[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.rfind(L'\\') + 1);
}

std::wstring fromUtf8(const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                          nullptr);
    return bytes;
}

std::wstring quoteArgument(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos) return word;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t unit : word) {
        if (unit == L'\\') {
            ++backslashes;
            continue;
        }
        if (unit == L'"') quoted.append(backslashes * 2 + 1, L'\\');
        else quoted.append(backslashes, L'\\');
        backslashes = 0;
        quoted += unit;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}
