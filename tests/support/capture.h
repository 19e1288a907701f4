#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "base/report.h"
#include "tests/support/process_runner.h"

using namespace hivescout;

// Points the report targets at string streams for the life of the object.
class CapturedReport {
public:
    CapturedReport() : savedOutput_(outputStream), savedError_(errorStream) { outputStream = &output_, errorStream = &error_; }
    ~CapturedReport() { outputStream = savedOutput_, errorStream = savedError_; }
    std::wstring output() const { return output_.str(); }
    // The lines without their process ID prefixes.
    std::vector<std::wstring> errorMessages() const { return messages(error_); }
    std::vector<std::wstring> outputMessages() const { return messages(output_); }

private:
    static std::vector<std::wstring> messages(const std::wostringstream& text) {
        std::vector<std::wstring> lines;
        std::wistringstream in(text.str());
        for (std::wstring line; std::getline(in, line);) lines.push_back(line);
        return withoutPrefixes(lines, ownProcessId);
    }
    std::wostream* savedOutput_;
    std::wostream* savedError_;
    std::wostringstream output_;
    std::wostringstream error_;
};
