#pragma once
#include <sstream>
#include <tuple>

#include "base/report.h"
#include "tests/support/process_runner.h"

using namespace hivescout;

// Points the report targets at string streams for the life of the object.
class CapturedReport {
public:
    CapturedReport() : saved_(std::exchange(outputStream, &output_), std::exchange(errorStream, &error_)) {}
    ~CapturedReport() { std::tie(outputStream, errorStream) = saved_; }
    std::wstring output() const { return output_.str(); }
    // The lines without their process ID prefixes.
    std::vector<std::wstring> errorMessages() const { return messages(error_); }
    std::vector<std::wstring> outputMessages() const { return messages(output_); }

private:
    static std::vector<std::wstring> messages(const std::wostringstream& text) {
        return withoutPrefixes(splitReportLines(toUtf8(text.str())), ownProcessId);
    }
    std::pair<std::wostream*, std::wostream*> saved_;
    std::wostringstream output_;
    std::wostringstream error_;
};
