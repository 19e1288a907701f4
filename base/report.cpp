#include "base/report.h"

#include <ctime>
#include <memory>

#include "base/exit_flags.h"
#include "base/report_encoding.h"
#include "base/report_texts.h"
#include "base/text_trimming.h"

namespace hivescout {

DWORD ownProcessId = ::GetCurrentProcessId();
std::wostringstream reportStream;

StandardStream standardOutput(STD_OUTPUT_HANDLE);
StandardStream standardError(STD_ERROR_HANDLE);
std::wostream* outputStream = &standardOutput;
std::wostream* errorStream = &standardError;
bool loggingToFile = false;

namespace {

const DWORD kLogRetryMs = 150;

// The log file streams live until the process ends once they are in use.
std::unique_ptr<LogFileStream> logOutput;
std::unique_ptr<LogFileStream> logErrors;

}  // namespace

bool emitReport(std::wostream& target, const std::wstring& text) {
    // A stream keeps its bad state after a failed write; clearing it first means a
    // failure of a moment (another copy writing the same file) loses only itself.
    target.clear();
    if (auto* buffer = dynamic_cast<ReportTargetBuffer*>(target.rdbuf())) {
        // The buffer retries only what a failed write left, so no byte is written twice.
        if (!buffer->writeReport(text, loggingToFile ? kLogRetryMs : 0)) target.setstate(std::ios::badbit);
    } else {
        target << text;
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
    return asOneLine(std::wstring(static_cast<const wchar_t*>(text.get()), length));
}

std::wstring asOneLine(std::wstring text) {
    // The system ends its texts with a line break, and a few hold more inside; the
    // report line that carries the text must still be one line.
    std::wstring line;
    bool pendingBreak = false;
    for (const wchar_t c : text) {
        if (c == L'\r' || c == L'\n') {
            pendingBreak = true;
            continue;
        }
        if (pendingBreak && !line.empty()) line += L' ';
        pendingBreak = false;
        line += c;
    }
    return trimBack(line, L" \t");
}

void openLogFile(std::wstring path, bool append) {
    loggingToFile = true;
    auto ordinary = std::make_unique<LogFileStream>(path);
    auto errors = std::make_unique<LogFileStream>(path);

    if (ordinary->buffer().isOpen() && errors->buffer().isOpen()) {
        // Emptied only through a handle that passed the checks: a refused file keeps its bytes.
        if (!append) ordinary->buffer().truncate();
        logOutput = std::move(ordinary);
        logErrors = std::move(errors);
        outputStream = logOutput.get();
        errorStream = logErrors.get();
        return;
    }

    const LogFileBuffer& failed = ordinary->buffer().isOpen() ? errors->buffer() : ordinary->buffer();
    const std::wstring why =
        failed.refusal().empty() ? formatSystemMessage(failed.openError()) : visibleInReport(failed.refusal());
    // Composed whole before it is written, so that it reaches a shared target in one piece.
    reportPieces(standardError, text::kErrorPrefix, ownProcessId, text::kLogOpenFailed, visibleInReport(path),
                 text::kLogOpenFailedError, why, L'\n');
    // Reaches the file only when the error stream did open.
    emitReport(*errors, reportStream.str());
}

bool outputIsStandard() { return outputStream == &standardOutput; }

void reportFailures(std::uint32_t flags, const wchar_t* kindWord) {
    if (!loggingToFile) {
        reportStream.str(std::wstring());
        reportStream.clear();
        reportStream << text::kErrorPrefix << ownProcessId << text::kErrorCode << std::hex << flags << std::dec
                     << L'\n';
        emitReport(*errorStream, reportStream.str());
    }
    if (flags & ExitFlags::UsageWindowFailed) reportError(text::kUsageWindowFailed);
    if (flags & ExitFlags::RegeditHandleFailed) reportError(text::kEditorHandleFailed);
    if (flags & ExitFlags::RegeditLaunchFailed) reportError(text::kEditorLaunchFailed);
    if (flags & (ExitFlags::NoKeyGiven | ExitFlags::NoValueGiven))
        reportError(text::kNoTarget, kindWord, text::kNoTargetEnd);
    if (flags & ExitFlags::CommunicationSetupFailed) reportError(text::kCommunicationSetupFailed);
    if (flags & ExitFlags::RegeditTerminated) reportError(text::kEditorTerminated);
}

}  // namespace hivescout
