#pragma once
#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>

#include <sstream>

#include "base/report_target.h"
#include "base/report_texts.h"

namespace hivescout {

// The report's process-wide records, created during static initialisation in this order
// and kept until the process ends.
extern DWORD ownProcessId;
extern std::wostringstream reportStream;  // where every report text is composed

// The standard streams of the process, and the two targets of report lines. The
// targets are the standard streams until a log file is opened.
extern StandardStream standardOutput;
extern StandardStream standardError;
extern std::wostream* outputStream;
extern std::wostream* errorStream;
// Set once a log file is asked for, whether or not it opened.
extern bool loggingToFile;

// Writes a composed text to a target and flushes it. While logging to a file, a failed
// write is retried for up to 150 ms. Returns whether the target is in a good state.
bool emitReport(std::wostream& target, const std::wstring& text);

// Local time as 2026-12-05T11:38:20, or empty when it cannot be worked out.
std::wstring currentTimestamp();

// The system's text for an error code as one line, without the line break the system
// ends it with; empty for 0.
std::wstring formatSystemMessage(DWORD code);
// Line breaks inside become one blank; those and blanks at the end are dropped.
std::wstring asOneLine(std::wstring text);

// Points both targets at the log file; reports on standard error when it cannot be opened.
void openLogFile(std::wstring path, bool append);

// Composes one report in reportStream from its pieces and emits it.
template <typename... Pieces>
void reportPieces(std::wostream& target, const Pieces&... pieces) {
    reportStream.str(std::wstring());
    reportStream.clear();
    (reportStream << ... << pieces);
    emitReport(target, reportStream.str());
}

// "Process ID: <pid><message...>" on the output stream.
template <typename... Pieces>
void reportOutput(const Pieces&... message) {
    reportPieces(*outputStream, text::kOutputPrefix, ownProcessId, message..., L'\n');
}

// "(Error) Process ID: <pid><message...>" on the error stream.
template <typename... Pieces>
void reportError(const Pieces&... message) {
    reportPieces(*errorStream, text::kErrorPrefix, ownProcessId, message..., L'\n');
}

// A failed system call's error, read as the object is made: make it right after the call,
// before any piece of the report is composed (the object of a member call is evaluated
// before its arguments). A failure is then reported and its bits returned in one statement.
struct SystemError {
    DWORD code = ::GetLastError();

    // The sentence followed by the system's text for the error.
    template <typename... Pieces>
    std::uint32_t report(std::uint32_t bits, const Pieces&... sentence) const {
        reportError(sentence..., formatSystemMessage(code));
        return bits;
    }
    // The sentence followed by the error's number.
    template <typename... Pieces>
    std::uint32_t reportNumber(std::uint32_t bits, const Pieces&... sentence) const {
        reportError(sentence..., code);
        return bits;
    }
};

// The end-of-run error lines for the bits that were not reported where they arose;
// kindWord names the target that was not given.
void reportFailures(std::uint32_t flags, const wchar_t* kindWord = text::kKindKeyOrValue);

// Whether the output target is still the standard output stream (no log file in use).
bool outputIsStandard();

}  // namespace hivescout
