// The real program's usage window under Wine and Xvfb: found by process ID and caption,
// inspected through its controls, and closed the ways a user closes it.
#include "resources/resource_ids.h"
#include "tests/support/jump_fixture.h"

namespace {

HWND waitForUsageWindow(const RunningProcess& process) {
    for (const DWORD start = ::GetTickCount();
         ::GetTickCount() - start < 30000 && ::WaitForSingleObject(process.handle(), 50) == WAIT_TIMEOUT;)
        for (HWND window = nullptr;
             (window = ::FindWindowExW(nullptr, window, nullptr, L"Hivescout  64 Bit Usage Information"));) {
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

std::string wineOverrides() { return std::getenv("WINEDLLOVERRIDES") ? std::getenv("WINEDLLOVERRIDES") : ""; }

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
        EXPECT_EQ(0u, result.exitCode);
        const std::vector<std::wstring> lines = splitReportLines(result.standardOutput);
        ASSERT_EQ(2u, lines.size());
        EXPECT_TRUE(isFrameLine(lines[0], result.processId, true) && isFrameLine(lines[1], result.processId, false));
        EXPECT_EQ("", result.standardError);
    }
    HWND item(int id) const { return ::GetDlgItem(dialog_, id); }
    HWND richText() const { return ::FindWindowExW(dialog_, nullptr, L"RichEdit20W", nullptr); }

    // 80 % of the screen, centred in the work area, only the Exit button; resized, the button and
    // the text keep their distances to the edges (the arithmetic's edge cases are the unit tests').
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
        const auto distances = [&] {
            RECT window{}, button{}, area{};
            ::GetWindowRect(dialog_, &window);
            ::GetWindowRect(item(IDCANCEL), &button);
            ::GetWindowRect(text, &area);
            const LONG right = window.right, bottom = window.bottom;
            return std::vector<LONG>{right - button.right, bottom - button.bottom,  right - area.right,
                                     bottom - area.bottom, area.left - window.left, button.right - button.left};
        };
        const std::vector<LONG> opened = distances();
        ::SetWindowPos(dialog_, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(opened, distances()) << "after a resize";
    }

    std::unique_ptr<RunningProcess> process_;
    HWND dialog_ = nullptr;
};

}  // namespace

// Without arguments: the rich text, or the plain text without the rich-edit library (ctest's usage_plain); typing
// changes neither. The rich text shows the program's name, the plain text its placeholder. A help switch shows it
// too, beside a jump switch as well; Exit, Escape and the close box end it with zero.
TEST_F(UsageWindow, NoArgumentsOrAHelpSwitchShowTheTextReadOnlyAndEveryCloseEndsIt) {
    const bool plain = wineOverrides().find("riched20=d") != std::string::npos;
    open();
    const HWND text = plain ? item(IDC_TEXT_AREA) : richText();
    ASSERT_EQ(plain, richText() == nullptr);
    const std::wstring shown = windowText(text);
    EXPECT_NE(std::wstring::npos, shown.find(L"Hivescout v" HIVESCOUT_VERSION_WIDE));
    EXPECT_NE(std::wstring::npos, shown.find(L"Error codes returned :"));
    EXPECT_NE(std::wstring::npos, shown.find(plain ? L"%HIVESCOUT% " : L"hivescout.exe "));
    EXPECT_EQ(std::wstring::npos, shown.find(L"Hivescout.exe"));
    EXPECT_EQ(std::wstring::npos, shown.find(plain ? L"hivescout.exe" : L"%HIVESCOUT%"));
    ::SendMessageW(text, WM_CHAR, L'x', 0x00010001);
    EXPECT_EQ(shown, windowText(text)) << "a typed character changed the text";
    expectTheLayout(text);
    ::PostMessageW(item(IDCANCEL), BM_CLICK, 0, 0);
    expectCleanEnd();
    open(L"/?");
    ::PostMessageW(item(IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    expectCleanEnd();
    open(L"-help -jumpto=HKCU\\Software");
    ::PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    expectCleanEnd();
}

// Libraries the program, or system code for it, loads, planted beside a copy of it with Wine searching
// there first as Windows does (ctest's library_planting): neither the usage window nor a jump loads one.
TEST_F(UsageWindow, LibrariesPlantedBesideTheProgramAreNeverLoaded) {
    if (const std::string editor = foreignEditor(); !editor.empty())
        GTEST_SKIP() << "a registry editor the tests did not start is running: " << editor;
    const std::wstring folder = temporaryPath(L"Downloads x\\"), program = folder + L"hivescout.exe";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<std::wstring> names = {L"riched20", L"comctl32", L"ole32", L"oleaut32", L"combase",
                                             L"rpcrt4",   L"uxtheme",  L"usp10", L"msimg32"};
    ASSERT_TRUE(::CopyFileW(hivescoutPath().c_str(), program.c_str(), FALSE));
    for (const std::wstring& name : names)
        ASSERT_TRUE(
            ::CopyFileW((ownDirectory() + L"planted_library.dll").c_str(), (folder + name + L".dll").c_str(), FALSE));
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
    if (proof.empty() && wineOverrides().find("riched20") == std::string::npos)
        GTEST_SKIP() << "the planting is not in effect without WINEDLLOVERRIDES (ctest's library_planting)";
    ASSERT_EQ(std::vector<std::wstring>{L"riched20"}, proof) << "the planting is not in effect";
    open(L"", program);
    ::PostMessageW(item(IDCANCEL), BM_CLICK, 0, 0);
    expectCleanEnd();
    EXPECT_EQ(std::vector<std::wstring>{}, loaded()) << "by the usage window";
    EXPECT_EQ(0u, runProcess(quoteArgument(program) + L" -jumptokey=HKCU\\Software").exitCode);
    endEditorsExcept();  // the one the jump started: none ran before
    EXPECT_EQ(std::vector<std::wstring>{}, loaded()) << "by a jump";
}
