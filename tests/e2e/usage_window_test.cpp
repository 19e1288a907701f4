// The real program's usage window under Wine and Xvfb: found by process ID and caption,
// inspected through its controls, and closed the ways a user closes it.
#include <memory>

#include "tests/support/jump_fixture.h"

namespace {

const int kTextArea = 1003;

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

RECT windowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
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

// Windows of another process settle asynchronously: polls for up to two seconds.
template <typename Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < 40 && !condition(); ++i) ::Sleep(50);
    return condition();
}

// A copy of hivescout.exe under another file name, whose rich-edit library Wine's
// per-program settings take away, so that the program itself is unchanged.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::wstring& fileName)
        : path_(temporaryPath(fileName)), overrides_(L"Software\\Wine\\AppDefaults\\" + fileName + L"\\DllOverrides") {
        copied_ = ::CopyFileW(hivescoutPath().c_str(), path_.c_str(), FALSE) &&
                  ::RegSetKeyValueW(HKEY_CURRENT_USER, overrides_.c_str(), L"riched20", REG_SZ, L"", 2) == ERROR_SUCCESS;
    }
    ~ProgramCopy() {
        ::DeleteFileW(path_.c_str());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, overrides_.c_str());
    }
    bool copied() const { return copied_; }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_, overrides_;
    bool copied_ = false;
};

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
        EXPECT_TRUE(isStartLine(lines[0], result.processId) && isEndLine(lines[1], result.processId));
        EXPECT_EQ("", result.standardError);
    }
    HWND item(int id) const { return ::GetDlgItem(dialog_, id); }
    HWND richText() const { return ::FindWindowExW(dialog_, nullptr, L"RichEdit20W", nullptr); }
    void pressEscape() const { ::PostMessageW(item(IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }

    // 80 % of the screen, centred in the work area; only the Exit button; the text area
    // stretches and the button follows the corner when the window is resized.
    void expectTheLayout(HWND text) {
        RECT desktop{}, workArea{};
        ::GetWindowRect(::GetDesktopWindow(), &desktop);
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
        const RECT before = windowRect(dialog_);
        const LONG width = before.right - before.left, height = before.bottom - before.top;
        EXPECT_EQ(static_cast<LONG>((desktop.right - desktop.left) * 0.8), width);
        EXPECT_EQ(static_cast<LONG>((desktop.bottom - desktop.top) * 0.8), height);
        EXPECT_EQ(workArea.left + ((workArea.right - workArea.left) - width) / 2, before.left);
        EXPECT_EQ(workArea.top + ((workArea.bottom - workArea.top) - height) / 2, before.top);
        const HWND exitButton = item(IDCANCEL);
        EXPECT_TRUE(::IsWindowVisible(exitButton) && ::IsWindowEnabled(exitButton));
        EXPECT_EQ(L"Exit", windowText(exitButton));
        EXPECT_FALSE(::IsWindowVisible(item(IDOK)));
        EXPECT_TRUE(::IsWindowVisible(text));

        const RECT button = windowRect(exitButton), area = windowRect(text);
        ::SetWindowPos(dialog_, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(eventually([&] {
            return windowRect(dialog_).right - windowRect(exitButton).right == before.right - button.right &&
                   windowRect(dialog_).right - windowRect(dialog_).left == 700;
        }));
        const RECT after = windowRect(dialog_), buttonAfter = windowRect(exitButton), areaAfter = windowRect(text);
        EXPECT_EQ(before.bottom - button.bottom, after.bottom - buttonAfter.bottom);
        EXPECT_EQ(button.right - button.left, buttonAfter.right - buttonAfter.left);
        EXPECT_EQ(button.bottom - button.top, buttonAfter.bottom - buttonAfter.top);
        EXPECT_EQ(area.left - before.left, areaAfter.left - after.left);
        EXPECT_EQ(area.top - before.top, areaAfter.top - after.top);
        EXPECT_EQ(before.right - area.right, after.right - areaAfter.right);
        EXPECT_EQ(before.bottom - area.bottom, after.bottom - areaAfter.bottom);
        EXPECT_LT(areaAfter.right - areaAfter.left, area.right - area.left);
    }

    std::unique_ptr<RunningProcess> process_;
    HWND dialog_ = nullptr;
};

}  // namespace

TEST_F(UsageWindow, NoArgumentsShowsTheRichTextWithTheProgramsName) {
    open();
    EXPECT_FALSE(::IsWindowVisible(item(kTextArea)));
    ASSERT_NE(nullptr, richText());
    const std::wstring shown = windowText(richText());
    EXPECT_NE(std::wstring::npos, shown.find(L"Hivescout v1.0"));
    EXPECT_NE(std::wstring::npos, shown.find(L"Error codes returned :"));
    EXPECT_EQ(9u, count(shown, L"hivescout.exe "));
    EXPECT_EQ(0u, count(shown, L"Hivescout.exe") + count(shown, L"%HIVESCOUT%"));
    expectTheLayout(richText());
    ::PostMessageW(item(IDCANCEL), BM_CLICK, 0, 0);
    expectCleanEnd();
}

TEST_F(UsageWindow, HelpSwitchesShowTheWindowAndEscapeOrTheCloseBoxEndIt) {
    open(L"/?");
    ASSERT_NE(nullptr, richText());
    pressEscape();
    expectCleanEnd();
    open(L"-help -jumpto=HKCU\\Software");
    ::PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    expectCleanEnd();
}

TEST_F(UsageWindow, TwoWindowsOpenAtOnceAndCloseMessagesEndBothWithZero) {
    open();
    RunningProcess second(quoteArgument(hivescoutPath()));
    const HWND secondDialog = waitForUsageWindow(second);
    EXPECT_NE(nullptr, secondDialog) << "a second copy's usage window did not open while the first was open";
    if (secondDialog) ::PostMessageW(secondDialog, WM_CLOSE, 0, 0);
    ::PostMessageW(dialog_, WM_CLOSE, 0, 0);
    expectCleanEnd();
    const ProcessResult result = second.wait(10000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(0u, result.exitCode);
}

TEST_F(UsageWindow, PlainRenderingWhenTheRichEditLibraryIsMissing) {
    ProgramCopy copy(L"hivescout-plain.exe");
    ASSERT_TRUE(copy.copied());
    open(L"", copy.path());
    EXPECT_EQ(nullptr, richText());
    const HWND text = item(kTextArea);
    ASSERT_NE(nullptr, text);
    const std::wstring shown = windowText(text);
    EXPECT_EQ(L'\xFEFF', shown.empty() ? 0 : shown[0]);
    EXPECT_EQ(9u, count(shown, L"%HIVESCOUT%"));
    EXPECT_NE(std::wstring::npos, shown.find(L"\r\n\t-AppendLog\r\n"));
    // The control turns read-only once it has painted.
    EXPECT_TRUE(eventually([&] { return (::GetWindowLongW(text, GWL_STYLE) & ES_READONLY) != 0; }));
    expectTheLayout(text);
    pressEscape();
    expectCleanEnd();
}
