// The editor stand-in itself: the Windows editor's layout, the record of what its
// controls receive from another process, and the knobs that bend its timing and shape.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/support/editor_view.h"
#include "tests/support/registry_data.h"
#include "tests/support/standin.h"

using standin::Control;

namespace {

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::vector<std::wstring> childClasses(HWND window) {
    std::vector<std::wstring> classes;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        classes.push_back(className(child));
    return classes;
}

std::size_t windowsWithThreeChildren(DWORD processId) {
    struct Search {
        DWORD processId;
        std::size_t count;
    } search{processId, 0};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == wanted->processId && childClasses(window).size() >= 3) ++wanted->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(installStandin()) << "no stand-in at the build's standin\\regedit.exe";
        ASSERT_TRUE(killAllEditors());
        ASSERT_TRUE(data_.created());
    }
    void TearDown() override { killAllEditors(); }

    TestRegistryData data_{sampleTestTree()};
};

}  // namespace

TEST_F(StandinTest, MainWindowHasTheWindowsEditorLayout) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    const StandinState state = editor.state();
    EXPECT_EQ(L"RegEdit_RegEdit", className(state.mainWindow));
    wchar_t caption[64] = {};
    ::GetWindowTextW(state.mainWindow, caption, 64);
    EXPECT_STREQ(L"Registry Editor", caption);
    const std::vector<std::wstring> children = {L"Edit", L"SysTreeView32", L"SysListView32", L"msctls_statusbar32"};
    EXPECT_EQ(children, childClasses(state.mainWindow));
    EXPECT_EQ(state.mainWindow, ::GetParent(state.tree));
    EXPECT_EQ(state.header, reinterpret_cast<HWND>(::SendMessageW(state.list, LVM_GETHEADER, 0, 0)));
}

TEST_F(StandinTest, RecordHoldsWhatTheControlsReceivedInOrder) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    EditorReader views(editor.processId());
    const StandinState state = editor.state();

    editor.observer().clearMessages();
    const HTREEITEM root = views.next(nullptr, TVGN_ROOT);
    const HTREEITEM first = views.next(root, TVGN_CHILD);
    views.treeText(first);
    ::SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
    ::ShowWindow(state.tree, SW_HIDE);
    ::SendMessageW(state.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(first));
    ::ShowWindow(state.tree, SW_SHOW);
    ::SendMessageW(state.tree, WM_MBUTTONDOWN, 0, 0);
    ::SendMessageW(state.list, LVM_GETHEADER, 0, 0);
    ::SendMessageW(state.header, HDM_GETITEMCOUNT, 0, 0);
    std::wstring text;
    views.rowText(0, text);
    views.selectRow(0);
    ::SendMessageW(state.list, WM_KEYUP, VK_LEFT, 0);

    const LPARAM tree = views.treeRecord();
    const LPARAM list = views.listRecord();
    const LPARAM firstItem = reinterpret_cast<LPARAM>(first);
    const std::vector<StandinMessage> expected = {
        {Control::Tree, TVM_GETNEXTITEM, TVGN_ROOT, 0},
        {Control::Tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)},
        {Control::Tree, TVM_GETITEMW, 0, tree},
        {Control::Tree, TVM_SELECTITEM, TVGN_CARET, firstItem},
        {Control::Tree, WM_SHOWWINDOW, FALSE, 0},
        {Control::Tree, TVM_EXPAND, TVE_EXPAND, firstItem},
        {Control::Tree, WM_SHOWWINDOW, TRUE, 0},
        {Control::Tree, WM_MBUTTONDOWN, 0, 0},
        {Control::List, LVM_GETHEADER, 0, 0},
        {Control::Header, HDM_GETITEMCOUNT, 0, 0},
        {Control::List, LVM_GETITEMW, 0, list},
        {Control::List, LVM_SETITEMW, 0, list},
        {Control::List, WM_KEYUP, VK_LEFT, 0},
    };
    EXPECT_EQ(expected, fromOtherThreads(withoutNoise(editor.observer().messages())));
    EXPECT_FALSE(editor.observer().recordOverflowed());

    const std::vector<StandinMessage> all = editor.observer().messages();
    EXPECT_GT(all.size(), expected.size()) << "the stand-in's own messages are recorded too";
    editor.observer().clearMessages();
    EXPECT_TRUE(editor.observer().messages().empty());
}

TEST_F(StandinTest, KnobsShapeTheWindowAndItsTiming) {
    {
        Standin twoChildren(withKnobs({{standin::knob::kTwoChildren, L"1"}}));
        ASSERT_TRUE(twoChildren.ready());
        EXPECT_EQ((std::vector<std::wstring>{L"SysTreeView32", L"SysListView32"}),
                  childClasses(twoChildren.state().mainWindow));
    }
    {
        Standin noList(withKnobs({{standin::knob::kListPlacement, L"before"}}));
        ASSERT_TRUE(noList.ready());
        EXPECT_EQ((std::vector<std::wstring>{L"Edit", L"SysListView32", L"SysTreeView32", L"msctls_statusbar32"}),
                  childClasses(noList.state().mainWindow));
    }
    {
        StandinOptions options = withKnobs({{standin::knob::kControlsDelayMs, L"600"},
                                            {standin::knob::kSecondWindow, L"before"}});
        options.waitUntilReady = false;
        Standin lateControls(options);
        ASSERT_TRUE(lateControls.observer().waitFor([](const StandinState& s) { return s.mainWindow != nullptr; }, 5000));
        const HWND window = lateControls.state().mainWindow;
        EXPECT_EQ((std::vector<std::wstring>{L"Edit", L"Static", L"msctls_statusbar32"}), childClasses(window));
        EXPECT_FALSE(lateControls.state().ready);
        ASSERT_TRUE(lateControls.waitUntilReady(5000));
        EXPECT_EQ((std::vector<std::wstring>{L"Edit", L"SysTreeView32", L"SysListView32", L"msctls_statusbar32"}),
                  childClasses(window));
        EXPECT_EQ(2u, windowsWithThreeChildren(lateControls.processId()));
    }
    StandinOptions lateOptions = withKnobs({{standin::knob::kWindowDelayMs, L"1500"}});
    lateOptions.waitUntilReady = false;
    Standin late(lateOptions);
    ASSERT_TRUE(late.observer().attached());
    EXPECT_FALSE(findEditorControls(late.processId()).mainWindow);
    EXPECT_TRUE(late.waitUntilReady(10000));
    EXPECT_TRUE(findEditorControls(late.processId()).mainWindow);
}

