#include "app/report.h"

#include <ctime>
#include <memory>

namespace {

const DWORD kLogRetryMs = 150;

// The log file streams live until the process ends once they are in use.
std::unique_ptr<LogFileStream> logOutput;
std::unique_ptr<LogFileStream> logErrors;

}  // namespace

bool emitReport(std::wostream& target, const std::wstring& text) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        // A stream keeps its bad state after a failed write; clearing it first means a
        // failure of a moment (another copy writing the same file) loses only itself.
        target.clear();
        target << text;
        if (!target.bad()) break;
        if (!jumpSettings.logToFile || ::GetTickCount() - start >= kLogRetryMs) break;
    }
    if (!target.bad()) target.flush();
    return !target.bad();
}

std::wstring currentTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) return std::wstring();
    wchar_t buffer[1024] = {};
    const std::size_t length = std::wcsftime(buffer, 1023, L"%Y-%m-%dT%H:%M:%S", &local);
    return std::wstring(buffer, length);
}

std::wstring formatSystemMessage(DWORD code) {
    if (code == 0) return std::wstring();
    UniqueLocalMemory text;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(text.receive()), 0, nullptr);
    if (length == 0 || text.get() == nullptr) return std::wstring();
    return std::wstring(static_cast<const wchar_t*>(text.get()), length);
}

void openLogFile(std::wstring path, bool append) {
    if (!append) truncateFile(path);

    auto ordinary = std::make_unique<LogFileStream>(path);
    DWORD error = ordinary->buffer().isOpen() ? 0 : ::GetLastError();
    auto errors = std::make_unique<LogFileStream>(path);
    if (error == 0 && !errors->buffer().isOpen()) error = ::GetLastError();

    if (ordinary->buffer().isOpen() && errors->buffer().isOpen()) {
        logOutput = std::move(ordinary);
        logErrors = std::move(errors);
        outputStream = logOutput.get();
        errorStream = logErrors.get();
        return;
    }

    const std::wstring errorText = formatSystemMessage(error);
    standardError.clear();
    standardError << L"(Error) Process ID: " << ownProcessId << L", Error occured during the opening of the log file"
                  << path << L", " << errorText << L'\n';
    standardError.flush();
    // Reaches the file only when the error stream did open.
    reportPieces(*errors, L"(Error) Process ID: ", ownProcessId,
                 L", Error occured during the opening of the log file", path, L", ", errorText, L'\n');
}

bool outputIsStandard() { return outputStream == &standardOutput; }
