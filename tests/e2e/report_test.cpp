// The real hivescout.exe on command lines that need no editor: exit codes, the report
// lines as text-mode lines, and the log file.
#include <optional>
#include <tuple>

#include "base/exit_flags.h"
#include "tests/support/jump_fixture.h"

namespace {

using Lines = std::vector<std::wstring>;

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

// A log file is written only when it is a plain file where its name says, emptied first or appended to, in text-mode
// lines. A log name planted as a link to a file it must never touch is refused: that file keeps its bytes, the report
// stays on the standard streams, and the error line says where the link leads. A log in a missing folder cannot be
// opened at all. Logging to a file stays asked for, so there is no hexadecimal line.
TEST(Report, ALogFileIsWrittenOnlyWhenItIsAPlainFileWhereItsNameSays) {
    const std::wstring folder = temporaryPath(L"hivescout-links"), unixFolder = unixPath(folder);
    if (unixFolder.empty()) GTEST_SKIP() << "the links are planted from the Unix side of Wine's prefix";
    const std::wstring precious = folder + L"\\real\\jumps.log",
                       through = L"The file is reached through a link: it is ";
    const std::wstring plantIn = L"rm -rf " + unixFolder + L" && mkdir -p " + unixFolder + L"/real && cd " +
                                 unixFolder + L" && printf 'earlier line\\r\\n' >real/jumps.log && ";
    // Planted beside the file with the earlier line; the log named; where its error line says it leads (none: written).
    const std::tuple<std::wstring, std::wstring, std::optional<std::wstring>> plants[] = {
        {L"cp real/jumps.log 'plain e2e.log'", folder + L"\\plain e2e.log", std::nullopt},
        {L"ln real/jumps.log planted.log", folder + L"\\planted.log", L"The file is a hard link: it has other links"},
        {L"ln -s real/jumps.log planted.log", folder + L"\\planted.log", through + precious},
        {L"ln -s real linked", folder + L"\\linked\\jumps.log", through + precious},
        {L"ln -s real linked", folder + L"\\linked\\new.log", through + folder + L"\\real\\new.log"},
        {L"ln -s real linked", folder + L"\\absent\\x.log", L""},
    };
    for (const auto& [plant, log, leadsTo] : plants) {
        for (const std::wstring appendLog : {L"", L"-appendlog "}) {
            SCOPED_TRACE(toUtf8(appendLog + log));
            ASSERT_TRUE(runUnixScript(folder, plantIn + plant));
            const HivescoutRun run = runHivescout(appendLog + L"\"-logtofile= " + log + L" \" -jumptovalue=");
            EXPECT_EQ(ExitFlags::NoValueGiven, run.exitCode());
            EXPECT_EQ("earlier line\r\n", readFileBytes(precious));
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((folder + L"\\real\\new.log").c_str()));
            const DWORD pid = run.process.processId;
            const std::string written = leadsTo ? "" : readFileBytes(log);
            bool textMode = false;
            Lines lines = splitReportLines(written + run.process.standardOutput + run.process.standardError, &textMode);
            EXPECT_TRUE(textMode);
            for (std::wstring& line : lines)
                line = isFrameLine(line, pid, true) ? L"<start>" : isFrameLine(line, pid, false) ? L"<end>" : line;
            const std::wstring error = L"(Error) Process ID: " + std::to_wstring(pid) + L", ";
            const std::wstring failure =
                error + L"Error occured during the opening of the log file" + log + L", " + leadsTo.value_or(L"");
            const std::wstring noValue = error + L"User did not specify a value to jump to.";
            Lines expected = {L"<start>", noValue, L"<end>"};
            if (leadsTo) expected = {L"<start>", L"<end>", failure + L"...", noValue};
            if (!leadsTo && !appendLog.empty()) expected.insert(expected.begin(), L"earlier line");
            EXPECT_EQ(expected, withSystemTextCut(lines, failure));
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
