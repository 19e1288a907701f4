#pragma once
// A test fixture for running the real hivescout.exe against an editor (the stand-in
// unless a test asks for Wine's own): it is installed, the sample registry data exists,
// and no editor is left running before or after a test.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "tests/support/editor_view.h"
#include "tests/support/hivescout_run.h"
#include "tests/support/registry_data.h"
#include "tests/support/standin.h"

class JumpBench : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // "HKEY_CURRENT_USER\Software\HivescoutTest" followed by "\" and below.
    std::wstring testPath(const std::wstring& below = std::wstring()) const { return data_->registryPath(below); }

    // Runs hivescout.exe with the argument text; knobs go into its environment, so an
    // editor it launches inherits them.
    HivescoutRun jump(const std::wstring& arguments, const std::map<std::wstring, std::wstring>& knobs = {});
    // The same, not waiting for the end.
    std::unique_ptr<RunningProcess> startJump(const std::wstring& arguments);

    // The editor installed as the prefix's regedit.exe for the test.
    virtual bool installEditor() { return installStandin(); }
    virtual RegistryKeySpec testTree() const { return sampleTestTree(); }

private:
    std::unique_ptr<TestRegistryData> data_;
};

// Messages of a run without the process-ID prefix; the first and last lines (start and
// end) are checked and removed.
std::vector<std::wstring> reportBody(const HivescoutRun& run);

// Quotes a whole switch word: "-jumpto=<path>" with blanks kept.
std::wstring switchWord(const std::wstring& name, const std::wstring& value);
