#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/support/hivescout_run.h"

// The real program's usage window under Wine and Xvfb: found by process ID and caption,
// inspected through its controls, and closed the ways a user closes it.
namespace {

const wchar_t kTitle[] = L"Hivescout  64 Bit Usage Information";

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchUsageWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t caption[128] = {};
    ::GetWindowTextW(window, caption, 128);
    if (owner == search->processId && ::IsWindowVisible(window) && std::wstring(caption) == kTitle) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForUsageWindow(const RunningProcess& process, DWORD timeoutMs = 30000) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        WindowSearch search{process.processId(), nullptr};
        ::EnumWindows(&matchUsageWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (::WaitForSingleObject(process.handle(), 100) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

RECT windowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

std::wstring windowText(HWND window) {
    const LRESULT length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

std::size_t count(const std::wstring& text, const std::wstring& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

// Polls until the condition holds or two seconds have passed; windows of another process
// settle asynchronously.
template <typename Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < 40; ++i) {
        if (condition()) return true;
        ::Sleep(50);
    }
    return condition();
}

// A copy of hivescout.exe under another file name, in a directory of its own.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::wstring& fileName) {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        directory_ = std::wstring(temp) + L"hivescout usage " + std::to_wstring(::GetCurrentProcessId()) + L"\\";
        ::CreateDirectoryW(directory_.c_str(), nullptr);
        path_ = directory_ + fileName;
        copied_ = ::CopyFileW(hivescoutPath().c_str(), path_.c_str(), FALSE) != FALSE;
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;
    ~ProgramCopy() {
        ::DeleteFileW(path_.c_str());
        ::RemoveDirectoryW(directory_.c_str());
    }
    bool copied() const { return copied_; }
    const std::wstring& path() const { return path_; }

private:
    std::wstring directory_;
    std::wstring path_;
    bool copied_ = false;
};

// Wine lets a DLL be switched off for one program name; that is how the tests take the
// rich-edit library away from a copy of the program, so the program itself is unchanged.
class RichEditDisabledFor {
public:
    explicit RichEditDisabledFor(const std::wstring& fileName)
        : keyPath_(L"Software\\Wine\\AppDefaults\\" + fileName + L"\\DllOverrides") {
        HKEY wine = nullptr;
        underWine_ = ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine", 0, KEY_READ, &wine) == ERROR_SUCCESS;
        if (wine) ::RegCloseKey(wine);
        if (!underWine_) return;
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr) != ERROR_SUCCESS)
            return;
        const wchar_t disabled[] = L"";
        set_ = ::RegSetValueExW(key, L"riched20", 0, REG_SZ, reinterpret_cast<const BYTE*>(disabled),
                                sizeof(disabled)) == ERROR_SUCCESS;
        ::RegCloseKey(key);
    }
    RichEditDisabledFor(const RichEditDisabledFor&) = delete;
    RichEditDisabledFor& operator=(const RichEditDisabledFor&) = delete;
    ~RichEditDisabledFor() {
        if (set_) ::RegDeleteTreeW(HKEY_CURRENT_USER, keyPath_.c_str());
    }
    bool underWine() const { return underWine_; }
    bool set() const { return set_; }

private:
    std::wstring keyPath_;
    bool underWine_ = false;
    bool set_ = false;
};

class UsageWindow : public ::testing::Test {
protected:
    // Starts the program and waits for its usage window.
    void open(const std::wstring& programPath, const std::wstring& arguments = L"") {
        process_ = std::make_unique<RunningProcess>(quoteArgument(programPath) + (arguments.empty() ? L"" : L" ") +
                                                    arguments);
        ASSERT_TRUE(process_->started());
        dialog_ = waitForUsageWindow(*process_);
        ASSERT_NE(nullptr, dialog_) << "no window titled \"Hivescout  64 Bit Usage Information\"";
    }
    void openHivescout(const std::wstring& arguments = L"") { open(hivescoutPath(), arguments); }

    // Waits for the end of the program and checks a clean run: exit code 0, the start
    // and end lines, no error lines.
    void expectCleanEnd() {
        const ProcessResult result = process_->wait(30000);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(0u, result.exitCode);
        const std::vector<std::wstring> output = splitReportLines(result.standardOutput);
        ASSERT_EQ(2u, output.size());
        EXPECT_EQ(0u, output[0].find(L"Hivescout, Biuld 1.0.1.14, 64 Bit, with process ID "));
        EXPECT_EQ(0u, output[1].find(L"Hivescout with process ID "));
        EXPECT_TRUE(result.standardError.empty()) << result.standardError;
    }

    HWND item(int id) const { return ::GetDlgItem(dialog_, id); }
    HWND richText() const { return ::FindWindowExW(dialog_, nullptr, L"RichEdit20W", nullptr); }
    void pressEscape() const { ::PostMessageW(item(IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }

    std::unique_ptr<RunningProcess> process_;
    HWND dialog_ = nullptr;
};

void expectEightyPercentCentred(HWND dialog) {
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const RECT window = windowRect(dialog);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    EXPECT_EQ(static_cast<LONG>((desktop.right - desktop.left) * 0.8), width);
    EXPECT_EQ(static_cast<LONG>((desktop.bottom - desktop.top) * 0.8), height);
    EXPECT_EQ(workArea.left + ((workArea.right - workArea.left) - width) / 2, window.left);
    EXPECT_EQ(workArea.top + ((workArea.bottom - workArea.top) - height) / 2, window.top);
}

void expectOnlyExitButton(HWND dialog) {
    HWND exitButton = ::GetDlgItem(dialog, IDCANCEL);
    ASSERT_NE(nullptr, exitButton);
    EXPECT_TRUE(::IsWindowVisible(exitButton));
    EXPECT_TRUE(::IsWindowEnabled(exitButton));
    EXPECT_EQ(L"Exit", windowText(exitButton));
    HWND other = ::GetDlgItem(dialog, IDOK);
    ASSERT_NE(nullptr, other);
    EXPECT_FALSE(::IsWindowVisible(other));
}

// Resizes the window and checks that the Exit button keeps its corner distances and size
// and that the text area stretches with its four margins kept.
void expectAnchoredAfterResize(HWND dialog, HWND text) {
    HWND exitButton = ::GetDlgItem(dialog, IDCANCEL);
    const RECT before = windowRect(dialog);
    const RECT buttonBefore = windowRect(exitButton);
    const RECT textBefore = windowRect(text);

    ::SetWindowPos(dialog, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(eventually([&] {
        const RECT button = windowRect(exitButton);
        return windowRect(dialog).right - button.right == before.right - buttonBefore.right &&
               windowRect(dialog).right - windowRect(dialog).left == 700;
    }));
    const RECT after = windowRect(dialog);
    const RECT buttonAfter = windowRect(exitButton);
    const RECT textAfter = windowRect(text);
    EXPECT_EQ(before.right - buttonBefore.right, after.right - buttonAfter.right);
    EXPECT_EQ(before.bottom - buttonBefore.bottom, after.bottom - buttonAfter.bottom);
    EXPECT_EQ(buttonBefore.right - buttonBefore.left, buttonAfter.right - buttonAfter.left);
    EXPECT_EQ(buttonBefore.bottom - buttonBefore.top, buttonAfter.bottom - buttonAfter.top);
    EXPECT_EQ(textBefore.left - before.left, textAfter.left - after.left);
    EXPECT_EQ(textBefore.top - before.top, textAfter.top - after.top);
    EXPECT_EQ(before.right - textBefore.right, after.right - textAfter.right);
    EXPECT_EQ(before.bottom - textBefore.bottom, after.bottom - textAfter.bottom);
    EXPECT_LT(textAfter.right - textAfter.left, textBefore.right - textBefore.left);
}

}  // namespace

TEST_F(UsageWindow, NoArgumentsShowsTheRichTextAtEightyPercentCentred) {
    openHivescout();
    expectEightyPercentCentred(dialog_);
    expectOnlyExitButton(dialog_);
    EXPECT_FALSE(::IsWindowVisible(item(IDC_TEXT_AREA)));
    HWND text = richText();
    ASSERT_NE(nullptr, text);
    EXPECT_TRUE(::IsWindowVisible(text));
    const std::wstring shown = windowText(text);
    EXPECT_NE(std::wstring::npos, shown.find(L"Hivescout v1.0"));
    EXPECT_NE(std::wstring::npos, shown.find(L"Error codes returned :"));
    // The program's own file name stands in the nine places.
    EXPECT_EQ(9u, count(shown, L"hivescout.exe "));
    EXPECT_EQ(0u, count(shown, L"Hivescout.exe"));
    EXPECT_EQ(std::wstring::npos, shown.find(L"%HIVESCOUT%"));

    expectAnchoredAfterResize(dialog_, text);
    ::PostMessageW(item(IDCANCEL), BM_CLICK, 0, 0);
    expectCleanEnd();
}

TEST_F(UsageWindow, HelpSwitchShowsTheWindowAndEscapeEndsIt) {
    openHivescout(L"/?");
    expectOnlyExitButton(dialog_);
    ASSERT_NE(nullptr, richText());
    pressEscape();
    expectCleanEnd();
}

TEST_F(UsageWindow, CloseBoxEndsTheProgramWithZero) {
    openHivescout(L"-help -jumpto=HKCU\\Software");
    ::PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    expectCleanEnd();
}

TEST_F(UsageWindow, TwoWindowsOpenAtOnceAndCloseMessagesEndBothWithZero) {
    openHivescout();
    RunningProcess second(quoteArgument(hivescoutPath()));
    const HWND secondDialog = waitForUsageWindow(second, 15000);
    EXPECT_NE(nullptr, secondDialog) << "a second copy's usage window did not open while the first was open";
    if (secondDialog) ::PostMessageW(secondDialog, WM_CLOSE, 0, 0);
    ::PostMessageW(dialog_, WM_CLOSE, 0, 0);
    expectCleanEnd();
    const ProcessResult result = second.wait(10000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(0u, result.exitCode);
}

TEST_F(UsageWindow, FileNameWithBlankIsShownQuoted) {
    ProgramCopy copy(L"my scout.exe");
    ASSERT_TRUE(copy.copied());
    open(copy.path());
    const std::wstring shown = windowText(richText());
    EXPECT_EQ(9u, count(shown, L"\"my scout.exe\" "));
    EXPECT_NE(std::wstring::npos, shown.find(L"\"my scout.exe\" <switches list>"));
    pressEscape();
    expectCleanEnd();
}

TEST_F(UsageWindow, FileNameWithBracesAndAccentsIsShownAsItIs) {
    ProgramCopy copy(L"sc\u00E8ne{1}.exe");
    ASSERT_TRUE(copy.copied());
    open(copy.path());
    const std::wstring shown = windowText(richText());
    EXPECT_EQ(9u, count(shown, L"sc\u00E8ne{1}.exe ")) << "the name must neither break nor change the document";
    EXPECT_NE(std::wstring::npos, shown.find(L"Error codes returned :"));
    pressEscape();
    expectCleanEnd();
}

TEST_F(UsageWindow, PlainRenderingWhenTheRichEditLibraryIsMissing) {
    const std::wstring name = L"hivescout-plain.exe";
    RichEditDisabledFor disabled(name);
    if (!disabled.underWine()) GTEST_SKIP() << "the rich-edit library is switched off through Wine's settings";
    ASSERT_TRUE(disabled.set());
    ProgramCopy copy(name);
    ASSERT_TRUE(copy.copied());
    open(copy.path());

    expectEightyPercentCentred(dialog_);
    expectOnlyExitButton(dialog_);
    EXPECT_EQ(nullptr, richText());
    HWND text = item(IDC_TEXT_AREA);
    ASSERT_NE(nullptr, text);
    EXPECT_TRUE(::IsWindowVisible(text));
    const std::wstring shown = windowText(text);
    EXPECT_EQ(L'\xFEFF', shown.empty() ? 0 : shown[0]);
    EXPECT_EQ(9u, count(shown, L"%HIVESCOUT%"));
    EXPECT_NE(std::wstring::npos, shown.find(L"\r\n\t-AppendLog\r\n"));
    // The control turns read-only once it has painted.
    EXPECT_TRUE(eventually([&] { return (::GetWindowLongW(text, GWL_STYLE) & ES_READONLY) != 0; }));

    expectAnchoredAfterResize(dialog_, text);
    pressEscape();
    expectCleanEnd();
}
