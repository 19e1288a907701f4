#include "tests/e2e/jump_bench.h"

void JumpBench::SetUp() {
    ASSERT_TRUE(installEditor());
    ASSERT_TRUE(killAllEditors());
    data_ = std::make_unique<TestRegistryData>(testTree());
    ASSERT_TRUE(data_->created());
}

void JumpBench::TearDown() {
    killAllEditors();
    data_.reset();
}

HivescoutRun JumpBench::jump(const std::wstring& arguments, const std::map<std::wstring, std::wstring>& knobs) {
    RunOptions options;
    options.environment = knobs;
    return runHivescout(arguments, options);
}

std::unique_ptr<RunningProcess> JumpBench::startJump(const std::wstring& arguments) {
    return std::make_unique<RunningProcess>(quoteArgument(hivescoutPath()) + L" " + arguments);
}

std::vector<std::wstring> reportBody(const HivescoutRun& run) {
    std::vector<std::wstring> body = run.outputMessages();
    const bool framed = body.size() >= 2 && body.front().rfind(L"Hivescout, Biuld ", 0) == 0 &&
                        body.back().rfind(L"Hivescout with process ID ", 0) == 0;
    EXPECT_TRUE(framed) << "start and end lines";
    if (framed) {
        body.erase(body.begin());
        body.pop_back();
    }
    return body;
}

std::wstring switchWord(const std::wstring& name, const std::wstring& value) {
    return quoteArgument(name + L"=" + value);
}
