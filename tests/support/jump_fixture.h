#pragma once
// The fixture of the end-to-end tests that jump: the registry data written, and no
// editor running before (the jump would choose it; the test is skipped, naming it, and the
// editor is left alone), so that every editor running afterwards is the test's and ended.
#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "hivescout_version.h"
#include "tests/support/editors.h"  // and the process runner
#include "tests/support/registry_data.h"

class JumpFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string editor = foreignEditor(); !editor.empty())
            GTEST_SKIP() << "a registry editor the tests did not start is running: " << editor;
        // Names in mixed case, outside ASCII, with trailing blanks; "Shared" as a key and a value; a three-level
        // chain; values named like a file and a folder; "Order": row 2 is "Second".
        std::vector<std::wstring> tree({L"|", L"|Trailing  ", L"|Shared", L"Alpha|A", L"beta|B", L"GAMMA\\Inner",
                                        L"\u00DCnic\u00F6de|\u00E9t\u00E9", L"Trailing |x", L"Shared|InsideShared",
                                        L"Nested\\Level2\\Level3|Deep", L"Paths|C:\\Program Files\\App\\app.exe",
                                        L"Paths|C:\\Program Files\\App\\", L"Order|Second", L"Order|First"});
        addNumbered(tree, L"Many\\Key%04u", 600);    // a walk that lasts seconds in a slow editor
        addNumbered(tree, L"Rows|Row%03u", 399, 1);  // after the default row, value i is row i
        data_ = std::make_unique<TestRegistryData>(L"HivescoutTest", tree);
        ASSERT_TRUE(data_->created());
    }
    void TearDown() override {
        if (!IsSkipped()) endEditorsExcept();
        data_.reset();
    }

    std::wstring testPath(const std::wstring& below = std::wstring()) const { return data_->registryPath(below); }
    // Runs hivescout.exe; the knobs go into its environment and so to an editor it starts.
    static HivescoutRun jump(const std::wstring& arguments, const std::map<std::wstring, std::wstring>& knobs = {}) {
        return runHivescout(arguments, RunOptions{knobs});
    }
    static std::unique_ptr<RunningProcess> startJump(const std::wstring& arguments) {
        return std::make_unique<RunningProcess>(quoteArgument(hivescoutPath()) + L" " + arguments);
    }

private:
    std::unique_ptr<TestRegistryData> data_;
};

// "Hivescout, Biuld ... started on: <time>" and "Hivescout with process ID ... ended on: <time>".
inline bool isFrameLine(const std::wstring& line, DWORD pid, bool start) {
    const std::wstring id = L"with process ID " + std::to_wstring(pid);
    const std::wstring build = std::regex_replace(std::wstring(HIVESCOUT_VERSION_WIDE), std::wregex(L"\\."), L"\\.");
    const std::wstring head =
        start ? L"Hivescout, Biuld " + build + L", 64 Bit, " + id + L" started" : L"Hivescout " + id + L" ended";
    return std::regex_match(line, std::wregex(head + L" on: \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d"));
}

// The messages between the start and end lines of a run's output, which are checked.
inline std::vector<std::wstring> reportBody(const HivescoutRun& run) {
    const std::vector<std::wstring> messages = run.outputMessages();
    const bool framed = messages.size() >= 2 && isFrameLine(run.outputLines.front(), run.process.processId, true) &&
                        isFrameLine(run.outputLines.back(), run.process.processId, false);
    EXPECT_TRUE(framed) << "start and end lines";
    return framed ? std::vector<std::wstring>(messages.begin() + 1, messages.end() - 1) : messages;
}

// The lines with the system's own text after the marker (it differs between systems) shown as "...".
inline std::vector<std::wstring> withSystemTextCut(std::vector<std::wstring> lines, const std::wstring& marker) {
    for (std::wstring& line : lines)
        if (const std::size_t at = line.find(marker); at != std::wstring::npos && line.size() > at + marker.size())
            line.replace(at + marker.size(), std::wstring::npos, L"...");
    return lines;
}
