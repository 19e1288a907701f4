#include "tests/support/hivescout_run.h"

std::wstring hivescoutPath() { return ownDirectory() + L"hivescout.exe"; }

std::vector<std::wstring> splitReportLines(const std::string& bytes, bool* textModeOk) {
    bool ok = true;
    std::vector<std::wstring> lines;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            if (current.empty() || current.back() != '\r') ok = false;
            else current.pop_back();
            lines.push_back(fromUtf8(current));
            current.clear();
        } else {
            current += bytes[i];
        }
    }
    if (!current.empty()) lines.push_back(fromUtf8(current));
    if (textModeOk) *textModeOk = ok;
    return lines;
}

std::wstring stripProcessPrefix(const std::wstring& line, unsigned long pid) {
    for (const std::wstring prefix : {L"Process ID: ", L"(Error) Process ID: "}) {
        const std::wstring full = prefix + std::to_wstring(pid);
        if (line.compare(0, full.size(), full) == 0) return line.substr(full.size());
    }
    return line;
}

std::vector<std::wstring> HivescoutRun::outputMessages() const {
    std::vector<std::wstring> result;
    for (const auto& line : outputLines) result.push_back(stripProcessPrefix(line, process.processId));
    return result;
}

std::vector<std::wstring> HivescoutRun::errorMessages() const {
    std::vector<std::wstring> result;
    for (const auto& line : errorLines) result.push_back(stripProcessPrefix(line, process.processId));
    return result;
}

HivescoutRun runHivescout(const std::wstring& arguments, const RunOptions& options) {
    HivescoutRun run;
    run.process = runProcess(quoteArgument(hivescoutPath()) + L" " + arguments, options);
    run.outputLines = splitReportLines(run.process.standardOutput);
    run.errorLines = splitReportLines(run.process.standardError);
    return run;
}
