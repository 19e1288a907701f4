// The editor stand-in driven as the product drives an editor: from another process,
// with item records and text placed in the stand-in's memory.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>


#include "tests/support/registry_data.h"
#include "tests/support/standin.h"

using standin::Control;

namespace {

constexpr std::size_t kTextUnits = 20480;

// One block of memory in another process, freed with the object.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, std::size_t size)
        : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    ~RemoteBlock() {
        if (address_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    bool write(const void* data, std::size_t size) const {
        return ::WriteProcessMemory(process_, address_, data, size, nullptr) != FALSE;
    }
    bool read(void* data, std::size_t size) const {
        return ::ReadProcessMemory(process_, address_, data, size, nullptr) != FALSE;
    }

private:
    HANDLE process_;
    void* address_;
};

// The stand-in's tree and list, driven from this process.
class RemoteViews {
public:
    RemoteViews(HANDLE process, const StandinState& state)
        : tree_(state.tree), list_(state.list), text_(process, (kTextUnits + 1) * sizeof(wchar_t)),
          treeItem_(process, sizeof(TVITEMEXW)), listItem_(process, sizeof(LVITEMW)), local_(kTextUnits + 1) {}

    LPARAM treeRecord() const { return treeItem_.address(); }
    LPARAM listRecord() const { return listItem_.address(); }

    HTREEITEM next(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM root() const { return next(nullptr, TVGN_ROOT); }

    std::wstring treeText(HTREEITEM item, int* children = nullptr) {
        TVITEMEXW record{};
        record.mask = TVIF_TEXT | TVIF_HANDLE | (children ? TVIF_CHILDREN : 0);
        record.hItem = item;
        record.pszText = reinterpret_cast<wchar_t*>(text_.address());
        record.cchTextMax = static_cast<int>(kTextUnits);
        EXPECT_TRUE(treeItem_.write(&record, sizeof(record)));
        EXPECT_NE(0, ::SendMessageW(tree_, TVM_GETITEMW, 0, treeItem_.address()));
        if (children) {
            EXPECT_TRUE(treeItem_.read(&record, sizeof(record)));
            *children = record.cChildren;
        }
        return readText();
    }

    std::vector<std::wstring> childTexts(HTREEITEM parent) {
        std::vector<std::wstring> texts;
        for (HTREEITEM item = next(parent, TVGN_CHILD); item; item = next(item, TVGN_NEXT)) texts.push_back(treeText(item));
        return texts;
    }

    HTREEITEM findChild(HTREEITEM parent, const std::wstring& name, int* children = nullptr) {
        for (HTREEITEM item = next(parent, TVGN_CHILD); item; item = next(item, TVGN_NEXT))
            if (treeText(item, children) == name) return item;
        return nullptr;
    }

    // As the product does it: select, then expand while the tree is hidden.
    void selectAndExpand(HTREEITEM item) const {
        ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        ::ShowWindow(tree_, SW_HIDE);
        ::SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        ::ShowWindow(tree_, SW_SHOW);
    }

    HTREEITEM walk(const std::vector<std::wstring>& names) {
        HTREEITEM item = root();
        for (const std::wstring& name : names) {
            item = findChild(item, name);
            if (!item) return nullptr;
            selectAndExpand(item);
        }
        return item;
    }

    // A row's name, or false when the list answers zero.
    bool rowText(int row, std::wstring& text) {
        LVITEMW record{};
        record.mask = LVIF_TEXT;
        record.iItem = row;
        record.pszText = reinterpret_cast<wchar_t*>(text_.address());
        record.cchTextMax = static_cast<int>(kTextUnits);
        EXPECT_TRUE(listItem_.write(&record, sizeof(record)));
        if (::SendMessageW(list_, LVM_GETITEMW, 0, listItem_.address()) == 0) return false;
        text = readText();
        return true;
    }

    std::vector<std::wstring> rows() {
        std::vector<std::wstring> texts;
        std::wstring text;
        for (int row = 0; rowText(row, text); ++row) texts.push_back(text);
        return texts;
    }

    void selectRow(int row) const {
        LVITEMW record{};
        record.mask = LVIF_STATE;
        record.iItem = row;
        record.state = record.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        EXPECT_TRUE(listItem_.write(&record, sizeof(record)));
        ::SendMessageW(list_, LVM_SETITEMW, 0, listItem_.address());
    }

private:
    std::wstring readText() {
        EXPECT_TRUE(text_.read(local_.data(), kTextUnits * sizeof(wchar_t)));
        return local_.data();
    }

    HWND tree_;
    HWND list_;
    RemoteBlock text_;
    RemoteBlock treeItem_;
    RemoteBlock listItem_;
    std::vector<wchar_t> local_;
};

UniqueHandle openForDriving(DWORD processId) {
    return UniqueHandle(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                          PROCESS_QUERY_INFORMATION | SYNCHRONIZE,
                                      FALSE, processId));
}

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

std::wstring windowText(HWND window) {
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

bool hasTopLevelWindow(DWORD processId) {
    struct Search {
        DWORD processId;
        bool found;
    } search{processId, false};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == wanted->processId && className(window) == L"RegEdit_RegEdit") wanted->found = true;
            return !wanted->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
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

const std::vector<std::wstring> kRootKeys = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE",
                                             L"HKEY_USERS", L"HKEY_CURRENT_CONFIG"};
const std::vector<std::wstring> kTestKeyPath = {L"HKEY_CURRENT_USER", L"Software", L"HivescoutTest"};

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
    EXPECT_EQ(L"Computer", state.selectedPath);
}

TEST_F(StandinTest, TreeIsWalkedSelectedAndExpandedFromAnotherProcess) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    UniqueHandle process = openForDriving(editor.processId());
    RemoteViews views(process.get(), editor.state());

    EXPECT_EQ(L"Computer", views.treeText(views.root()));
    EXPECT_EQ(kRootKeys, views.childTexts(views.root()));

    const HTREEITEM testKey = views.walk(kTestKeyPath);
    ASSERT_NE(nullptr, testKey);
    const std::vector<std::wstring> sorted = {L"Alpha",  L"beta",      L"Empty",         L"GAMMA",
                                              L"Nested", L"Shared",    L"Trailing ",     L"\u00DCnic\u00F6de"};
    EXPECT_EQ(sorted, views.childTexts(testKey));
    int children = -1;
    EXPECT_NE(nullptr, views.findChild(testKey, L"GAMMA", &children));
    EXPECT_EQ(1, children) << "a key with subkeys has an expand button";
    EXPECT_NE(nullptr, views.findChild(testKey, L"Empty", &children));
    EXPECT_EQ(0, children);

    const StandinState state = editor.state();
    EXPECT_EQ(data_.editorPath(), state.selectedPath);
    EXPECT_EQ(data_.editorPath(), windowText(::GetWindow(state.mainWindow, GW_CHILD)));
    EXPECT_TRUE(::IsWindowVisible(state.tree));

    views.selectAndExpand(views.walk({L"HKEY_CURRENT_USER", L"Software", L"HivescoutTest", L"Nested", L"Level2"}));
    EXPECT_EQ(data_.editorPath(L"Nested\\Level2"), editor.state().selectedPath);
}

TEST_F(StandinTest, ValueRowsAreReadAndSelectedFromAnotherProcess) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    UniqueHandle process = openForDriving(editor.processId());
    const StandinState before = editor.state();
    RemoteViews views(process.get(), before);
    ASSERT_NE(nullptr, views.walk(kTestKeyPath));

    const std::vector<std::wstring> rows = {L"(Default)", L"Gr\u00FC\u00DFe", L"MixedCase", L"Number",
                                            L"Shared",    L"Trailing  ",       L"\u00C4rger"};
    EXPECT_EQ(rows, views.rows());
    EXPECT_EQ(7, ::SendMessageW(before.list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(3, ::SendMessageW(before.header, HDM_GETITEMCOUNT, 0, 0));

    views.selectRow(3);
    const StandinState after = editor.state();
    EXPECT_EQ(3, after.selectedRow);
    EXPECT_EQ(3, after.focusedRow);
    EXPECT_EQ(L"Number", after.selectedRowName);
    EXPECT_EQ(L"Number", after.focusedRowName);

    ASSERT_NE(nullptr, views.walk({L"HKEY_CURRENT_USER", L"Software", L"HivescoutTest", L"Empty"}));
    EXPECT_EQ(std::vector<std::wstring>{L"(Default)"}, views.rows());
    EXPECT_EQ(-1, editor.state().selectedRow);
}

TEST_F(StandinTest, RecordHoldsWhatTheControlsReceivedInOrder) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    UniqueHandle process = openForDriving(editor.processId());
    const StandinState state = editor.state();
    RemoteViews views(process.get(), state);

    editor.observer().clearMessages();
    const HTREEITEM root = views.root();
    const HTREEITEM first = views.next(root, TVGN_CHILD);
    views.treeText(first);
    views.selectAndExpand(first);
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

TEST_F(StandinTest, PlainStartHandsOverToTheRunningEditorAndMultipleInstanceRuns) {
    Standin first;
    ASSERT_TRUE(first.ready());
    const ProcessResult handOver = runProcess(quoteArgument(installedEditorPath()), RunOptions{{}, 10000, {}});
    EXPECT_FALSE(handOver.timedOut);
    EXPECT_EQ(0u, handOver.exitCode);
    EXPECT_EQ(std::vector<DWORD>{first.processId()}, runningEditorIds());
    EXPECT_TRUE(isForegroundWindow(first.state().mainWindow));

    Standin second;  // with "-m"
    EXPECT_TRUE(second.ready());
    EXPECT_EQ(2u, runningEditorIds().size());
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
    EXPECT_FALSE(hasTopLevelWindow(late.processId()));
    EXPECT_TRUE(late.waitUntilReady(10000));
    EXPECT_TRUE(hasTopLevelWindow(late.processId()));
}

