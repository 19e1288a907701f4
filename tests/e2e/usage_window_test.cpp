// The real program's usage window under Wine and Xvfb: found by process ID and caption,
// inspected through its controls, and closed the ways a user closes it.
#include "tests/support/jump_fixture.h"

namespace {

HWND waitForUsageWindow(const RunningProcess& process) {
    for (const DWORD start = ::GetTickCount();
         ::GetTickCount() - start < 30000 && ::WaitForSingleObject(process.handle(), 50) == WAIT_TIMEOUT;)
        for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, nullptr, L"Hivescout  64 Bit Usage Information"));) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == process.processId() && ::IsWindowVisible(window)) return window;
        }
    return nullptr;
}

std::wstring windowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    ::SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

std::size_t count(const std::wstring& text, const std::wstring& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

class UsageWindow : public ::testing::Test {
protected:
    void open(const std::wstring& arguments = L"", const std::wstring& program = hivescoutPath()) {
        process_ = std::make_unique<RunningProcess>(quoteArgument(program) + L" " + arguments);
        dialog_ = waitForUsageWindow(*process_);
        ASSERT_NE(nullptr, dialog_) << "no usage window";
    }
    // A clean end: exit code 0, the start and end lines and nothing else.
    void expectCleanEnd() {
        const ProcessResult result = process_->wait(30000);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(0u, result.exitCode);
        const std::vector<std::wstring> lines = splitReportLines(result.standardOutput);
        ASSERT_EQ(2u, lines.size());
        EXPECT_TRUE(isFrameLine(lines[0], result.processId, true) && isFrameLine(lines[1], result.processId, false));
        EXPECT_EQ("", result.standardError);
    }
    HWND item(int id) const { return ::GetDlgItem(dialog_, id); }
    HWND richText() const { return ::FindWindowExW(dialog_, nullptr, L"RichEdit20W", nullptr); }
    void pressEscape() const { ::PostMessageW(item(IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }

    // 80 % of the screen, centred in the work area, only the Exit button (the anchoring on
    // resize is the unit tests').
    void expectTheLayout(HWND text) {
        RECT desktop{}, workArea{}, shown{};
        ::GetWindowRect(::GetDesktopWindow(), &desktop);
        ::GetWindowRect(dialog_, &shown);
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
        const LONG width = shown.right - shown.left, height = shown.bottom - shown.top;
        EXPECT_EQ(static_cast<LONG>((desktop.right - desktop.left) * 0.8), width);
        EXPECT_EQ(static_cast<LONG>((desktop.bottom - desktop.top) * 0.8), height);
        EXPECT_EQ(workArea.left + ((workArea.right - workArea.left) - width) / 2, shown.left);
        EXPECT_EQ(workArea.top + ((workArea.bottom - workArea.top) - height) / 2, shown.top);
        EXPECT_TRUE(::IsWindowVisible(item(IDCANCEL)) && ::IsWindowEnabled(item(IDCANCEL)));
        EXPECT_EQ(L"Exit", windowText(item(IDCANCEL)));
        EXPECT_FALSE(::IsWindowVisible(item(IDOK)));
        EXPECT_TRUE(::IsWindowVisible(text));
    }

    std::unique_ptr<RunningProcess> process_;
    HWND dialog_ = nullptr;
};

}  // namespace

TEST_F(UsageWindow, NoArgumentsShowsTheRichTextWithTheProgramsName) {
    open();
    EXPECT_FALSE(::IsWindowVisible(item(1003)));  // the plain text area
    ASSERT_NE(nullptr, richText());
    const std::wstring shown = windowText(richText());
    EXPECT_NE(std::wstring::npos, shown.find(L"Hivescout v" HIVESCOUT_VERSION_WIDE));
    EXPECT_NE(std::wstring::npos, shown.find(L"Error codes returned :"));
    EXPECT_EQ(9u, count(shown, L"hivescout.exe "));
    EXPECT_EQ(0u, count(shown, L"Hivescout.exe") + count(shown, L"%HIVESCOUT%"));
    expectTheLayout(richText());
    ::PostMessageW(item(IDCANCEL), BM_CLICK, 0, 0);
    expectCleanEnd();
}

// Each way of closing ends with zero; a second copy's window opens while the first is open.
TEST_F(UsageWindow, HelpSwitchesAndSecondCopiesShowTheWindowAndEveryCloseEndsIt) {
    open(L"/?");
    ASSERT_NE(nullptr, richText());
    pressEscape();
    expectCleanEnd();
    open(L"-help -jumpto=HKCU\\Software");
    RunningProcess second(quoteArgument(hivescoutPath()));
    const HWND secondDialog = waitForUsageWindow(second);
    EXPECT_NE(nullptr, secondDialog) << "a second copy's usage window did not open while the first was open";
    if (secondDialog) ::PostMessageW(secondDialog, WM_CLOSE, 0, 0);
    ::PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    expectCleanEnd();
    const ProcessResult result = second.wait(10000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(0u, result.exitCode);
}

// Libraries named like those that the program, or system code on its behalf, loads while it
// runs, planted beside a copy of the program in a download folder, with Wine searching the
// program's folder first as Windows does (the ctest entry library_planting sets
// WINEDLLOVERRIDES): neither the usage window nor a jump loads one. (Under Wine a minimal
// windowed program gets the planted ole32 and uxtheme: Wine's window code loads them by bare
// name. That is the platform's doing, which the program's restricted search prevents.)
TEST_F(UsageWindow, LibrariesPlantedBesideTheProgramAreNeverLoaded) {
    if (const std::string editor = foreignEditor(); !editor.empty())
        GTEST_SKIP() << "a registry editor the tests did not start is running, " << editor << "; the jump would choose it";
    const std::wstring folder = temporaryPath(L"Downloads x\\"), program = folder + L"hivescout.exe";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<std::wstring> names = {L"riched20", L"comctl32", L"ole32", L"oleaut32", L"combase",
                                             L"rpcrt4", L"uxtheme", L"usp10", L"msimg32"};
    ASSERT_TRUE(::CopyFileW(hivescoutPath().c_str(), program.c_str(), FALSE));
    for (const std::wstring& name : names)
        ASSERT_TRUE(::CopyFileW((ownDirectory() + L"planted_library.dll").c_str(), (folder + name + L".dll").c_str(), FALSE));
    const auto loaded = [&] {
        std::vector<std::wstring> found;
        for (const std::wstring& name : names)
            if (::DeleteFileW((folder + name + L".dll.loaded").c_str())) found.push_back(name);
        return found;
    };
    ::SetDllDirectoryW(folder.c_str());  // a bare-name load here that searches the folder gets the planted library
    const UniqueModule planted(::LoadLibraryW(L"riched20.dll"));
    ::SetDllDirectoryW(nullptr);
    const std::vector<std::wstring> proof = loaded();
    // Wine searches a program's folder first only when told (the ctest entry library_planting does).
    wchar_t overrides[512] = {};
    ::GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 512);
    if (proof.empty() && !std::wcsstr(overrides, L"riched20"))
        GTEST_SKIP() << "the planting is not in effect: under Wine it needs WINEDLLOVERRIDES (ctest's library_planting)";
    ASSERT_EQ(std::vector<std::wstring>{L"riched20"}, proof) << "the planting is not in effect";
    open(L"", program);
    ::PostMessageW(item(IDCANCEL), BM_CLICK, 0, 0);
    expectCleanEnd();
    EXPECT_EQ(std::vector<std::wstring>{}, loaded()) << "by the usage window";
    EXPECT_EQ(0u, runProcess(quoteArgument(program) + L" -jumptokey=HKCU\\Software").exitCode);
    endEditorsExcept();  // the one the jump started: none ran before
    EXPECT_EQ(std::vector<std::wstring>{}, loaded()) << "by a jump";
}
