// Runs a Windows program with the rest of its own command line, copies the program's standard output and standard
// error through, and prints its full 32-bit exit code: a Unix shell sees only the low 8 bits of one under Wine.
#include <cstdio>

#include "tests/support/process_runner.h"

int wmain(int argc, wchar_t** argv) {
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i) commandLine += quoteArgument(argv[i]) + L" ";
    const ProcessResult result = runProcess(commandLine, RunOptions{{}, INFINITE});
    if (argc < 2 || !result.started) {
        std::fputs("usage: launcher.exe <program> [arguments...]\n", stderr);
        return 2;
    }
    std::fwrite(result.standardOutput.data(), 1, result.standardOutput.size(), stdout);
    std::fwrite(result.standardError.data(), 1, result.standardError.size(), stdout);
    std::printf("exit code: %lu\n", static_cast<unsigned long>(result.exitCode));
    return 0;
}
