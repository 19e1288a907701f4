// Runs a Windows program with the rest of its own command line, copies the program's
// standard output and standard error through, and prints its full 32-bit exit code.
// A Unix shell sees only the low 8 bits of an exit code under Wine; this shows them all.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/process_runner.h"

namespace {

// The text of our own command line after the first word.
std::wstring restOfCommandLine() {
    const wchar_t* text = ::GetCommandLineW();
    bool quoted = false;
    for (; *text; ++text) {
        if (*text == L'"') quoted = !quoted;
        else if (!quoted && (*text == L' ' || *text == L'\t')) break;
    }
    while (*text == L' ' || *text == L'\t') ++text;
    return text;
}

}  // namespace

int wmain() {
    const std::wstring commandLine = restOfCommandLine();
    if (commandLine.empty()) {
        std::fputs("usage: launcher.exe <program> [arguments...]\n", stderr);
        return 2;
    }
    const ProcessResult result = runProcess(commandLine, RunOptions{{}, INFINITE, {}});
    if (!result.started) {
        std::fprintf(stderr, "launcher: could not start the program (error %lu)\n", ::GetLastError());
        return 2;
    }
    std::fwrite(result.standardOutput.data(), 1, result.standardOutput.size(), stdout);
    std::fwrite(result.standardError.data(), 1, result.standardError.size(), stdout);
    std::printf("exit code: %lu\n", static_cast<unsigned long>(result.exitCode));
    return 0;
}
