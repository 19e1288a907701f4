// The real hivescout.exe on command lines that need no editor: exit codes, the report
// lines as text-mode lines, and the log file.
#include <tuple>

#include "base/exit_flags.h"
#include "tests/support/jump_fixture.h"

TEST(Report, ALogFileIsReplacedOrAppendedToAndTakesEveryLine) {
    const std::wstring log = temporaryPath(L"hivescout e2e.log");
    for (const bool append : {false, true}) {
        writeFileBytes(log, "earlier line\r\n");
        const std::wstring appendLog = append ? L"-appendlog " : L"";
        const HivescoutRun run = runHivescout(appendLog + L"\"-logtofile= " + log + L" \" -jumptovalue=");
        EXPECT_EQ(524288u, run.exitCode());
        EXPECT_EQ("", run.process.standardOutput + run.process.standardError);
        bool textMode = false;
        std::vector<std::wstring> lines = splitReportLines(readFileBytes(log), &textMode);
        EXPECT_TRUE(textMode);
        ASSERT_EQ(append ? 4u : 3u, lines.size());
        EXPECT_EQ(append, lines[0] == L"earlier line");
        if (append) lines.erase(lines.begin());
        const DWORD pid = run.process.processId;
        EXPECT_TRUE(isFrameLine(lines[0], pid, true) && isFrameLine(lines[2], pid, false));
        // No hexadecimal line while logging to a file.
        EXPECT_EQ(L"(Error) Process ID: " + std::to_wstring(pid) + L", User did not specify a value to jump to.",
                  lines[1]);
    }
    ::DeleteFileW(log.c_str());
}

namespace {

// The Unix path of a file in Wine's prefix; empty outside Wine.
std::wstring unixPath(const std::wstring& path) {
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    const auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* name = unixFileName ? unixFileName(path.c_str()) : nullptr;
    const std::wstring unix = name ? fromUtf8(name) : std::wstring();
    ::HeapFree(::GetProcessHeap(), 0, name);
    return unix;
}

// Wine makes no symbolic links itself, but it runs a Unix program named by its path on Z:,
// without a handle to wait on: the script leaves a file beside the folder when it is done.
bool runUnixScript(const std::wstring& folder, const std::wstring& script) {
    const std::wstring done = folder + L"-done";
    ::DeleteFileW(done.c_str());
    std::wstring command = L"Z:\\bin\\sh -c \"" + script + L" && touch " + unixPath(done) + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    const UniqueHandle process(started.hProcess), thread(started.hThread);
    for (int poll = 0; poll < 500 && ::GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++poll) ::Sleep(20);
    return ::DeleteFileW(done.c_str()) != FALSE;
}

}  // namespace

// A log name planted as a link to a file it must never touch: that file keeps its bytes,
// the report stays on the standard streams, and the error line says where the link leads.
// A log in a folder that does not exist cannot be opened at all, and is reported so. No
// target is given, so the error lines of both kinds follow, as text-mode lines.
TEST(Report, ALogFilePlantedAsALinkIsNeverWrittenThrough) {
    const std::wstring folder = temporaryPath(L"hivescout-links"), unixFolder = unixPath(folder);
    if (unixFolder.empty()) GTEST_SKIP() << "the links are planted from the Unix side of Wine's prefix";
    const std::wstring precious = folder + L"\\real\\jumps.log";
    const std::wstring through = L"The file is reached through a link: it is ";
    const std::wstring plantIn = L"rm -rf " + unixFolder + L" && mkdir -p " + unixFolder + L"/real && cd " + unixFolder;
    // The arguments of "ln", the log file named and where the error line says it leads.
    const std::tuple<std::wstring, std::wstring, std::wstring> plants[] = {
        {L"real/jumps.log planted.log", folder + L"\\planted.log", L"The file is a hard link: it has other links"},
        {L"-s real/jumps.log planted.log", folder + L"\\planted.log", through + precious},
        {L"-s real linked", folder + L"\\linked\\jumps.log", through + precious},
        {L"-s real linked", folder + L"\\linked\\new.log", through + folder + L"\\real\\new.log"},
        {L"-s real linked", folder + L"\\absent\\x.log", L""},
    };
    for (const auto& [link, log, leadsTo] : plants) {
        for (const bool append : {false, true}) {
            ASSERT_TRUE(runUnixScript(folder, plantIn + L" && echo precious data >real/jumps.log && ln " + link));
            const std::wstring appendLog = append ? L"-appendlog " : L"";
            const HivescoutRun run = runHivescout(appendLog + switchWord(L"-logtofile", log));
            EXPECT_EQ("precious data\n", readFileBytes(precious)) << toUtf8(log);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((folder + L"\\real\\new.log").c_str()));
            EXPECT_EQ(ExitFlags::NoKeyGiven | ExitFlags::NoValueGiven, run.exitCode());
            EXPECT_TRUE(reportBody(run).empty());
            bool textMode = false;
            splitReportLines(run.process.standardOutput + run.process.standardError, &textMode);
            EXPECT_TRUE(textMode);
            EXPECT_EQ(0u, run.errorLines.at(0).find(L"(Error) Process ID: " + std::to_wstring(run.process.processId)));
            const std::vector<std::wstring> errors = run.errorMessages();
            ASSERT_EQ(2u, errors.size());
            const std::wstring failure = L", Error occured during the opening of the log file" + log + L", " + leadsTo;
            EXPECT_EQ(failure, errors[0].substr(0, failure.size()));
            EXPECT_GT(errors[0].size(), failure.size());
            // Logging to a file stays asked for, so there is no hexadecimal line.
            EXPECT_EQ(L", User did not specify a key/value to jump to.", errors[1]);
        }
    }
    runUnixScript(folder, L"rm -rf " + unixFolder);
}

// An owner that promised its text for later and then does not answer (this thread, while it
// waits for the copy) holds the copy for about a second only.
TEST(Report, AClipboardOwnerThatNeverDeliversItsTextIsNotWaitedFor) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::OpenClipboard(owner) && ::EmptyClipboard());
    ::SetClipboardData(CF_UNICODETEXT, nullptr);
    ::CloseClipboard();
    const HivescoutRun run = runHivescout(L"-clipboard", RunOptions{{}, 10000});
    ::DestroyWindow(owner);
    EXPECT_FALSE(run.process.timedOut);
    EXPECT_EQ(16u, run.exitCode());
    EXPECT_EQ(L", The clipboard's owner did not deliver its text.", run.errorMessages().at(0));
}
