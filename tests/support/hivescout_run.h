#pragma once
#include <string>
#include <vector>

#include "tests/support/process_runner.h"

// One run of the real hivescout.exe and what it wrote, split into lines.
struct HivescoutRun {
    ProcessResult process;
    std::vector<std::wstring> outputLines;
    std::vector<std::wstring> errorLines;
    std::uint32_t exitCode() const { return process.exitCode; }
    // The text of every line, with the "Process ID: <pid>" prefix taken off.
    std::vector<std::wstring> outputMessages() const;
    std::vector<std::wstring> errorMessages() const;
};

std::wstring hivescoutPath();

// Runs hivescout.exe with the given argument text (already quoted as needed).
HivescoutRun runHivescout(const std::wstring& arguments, const RunOptions& options = {});

// Splits text at CR LF; a trailing CR LF gives no empty last line. Checks that every
// line feed is preceded by a carriage return.
std::vector<std::wstring> splitReportLines(const std::string& bytes, bool* textModeOk = nullptr);

// Removes "Process ID: <pid>" or "(Error) Process ID: <pid>" from the front of a line.
std::wstring stripProcessPrefix(const std::wstring& line, unsigned long pid);
