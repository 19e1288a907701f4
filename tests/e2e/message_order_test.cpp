// What the real hivescout.exe sends to the editor's controls, from the stand-in's record
// of every message its tree, list and header received.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "base/exit_flags.h"
#include "tests/e2e/jump_bench.h"

using namespace hivescout;

namespace {

using standin::Control;

HTREEITEM treeItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

StandinMessage treeMessage(UINT message, WPARAM wParam, HTREEITEM item) {
    return {Control::Tree, message, wParam, reinterpret_cast<LPARAM>(item)};
}

// The record address the jump used for its get-item messages; one block serves them all.
LPARAM recordAddress(const std::vector<StandinMessage>& sent, UINT getItem) {
    for (const StandinMessage& message : sent)
        if (message.message == getItem) return message.lParam;
    return 0;
}

}  // namespace

class MessageOrder : public JumpBench {
protected:
    RegistryKeySpec testTree() const override {
        RegistryKeySpec tree = sampleTestTree();
        // After "(Default)" and sorted by name, "Second" is row 2.
        tree.add(RegistryKeySpec{L"Rows", {stringValue(L"Second", L"2"), stringValue(L"First", L"1")}, {}});
        return tree;
    }
};

TEST_F(MessageOrder, ATwoNameKeyJump) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    editor.observer().clearMessages();
    ASSERT_EQ(0u, jump(L"-jumptokey=HKEY_CURRENT_USER\\Software").exitCode());
    const std::vector<StandinMessage> sent = drivingMessages(editor.observer().messages());

    const HWND tree = editor.state().tree;
    const HTREEITEM root = treeItem(tree, TVGN_ROOT, nullptr);
    const HTREEITEM software = treeItem(tree, TVGN_CARET, nullptr);
    const HTREEITEM currentUser = treeItem(tree, TVGN_PARENT, software);
    const LPARAM record = recordAddress(sent, TVM_GETITEMW);
    ASSERT_NE(0, record);
    std::vector<StandinMessage> expected = {treeMessage(TVM_GETNEXTITEM, TVGN_ROOT, nullptr)};
    auto scanTo = [&](HTREEITEM parent, HTREEITEM wanted) {
        expected.push_back(treeMessage(TVM_GETNEXTITEM, TVGN_CHILD, parent));
        for (HTREEITEM item = treeItem(tree, TVGN_CHILD, parent); item; item = treeItem(tree, TVGN_NEXT, item)) {
            expected.push_back({Control::Tree, TVM_GETITEMW, 0, record});
            if (item == wanted) break;
            expected.push_back(treeMessage(TVM_GETNEXTITEM, TVGN_NEXT, item));
        }
        expected.push_back(treeMessage(TVM_SELECTITEM, TVGN_CARET, wanted));
        expected.push_back(treeMessage(TVM_EXPAND, TVE_EXPAND, wanted));
    };
    scanTo(root, currentUser);
    scanTo(currentUser, software);
    expected.push_back(treeMessage(TVM_GETNEXTITEM, TVGN_CHILD, software));
    expected.push_back({Control::Tree, WM_MBUTTONDOWN, 0, 0});
    expected.push_back({Control::Tree, WM_MBUTTONUP, 0, 0});
    EXPECT_EQ(expected, sent);
}

TEST_F(MessageOrder, AValueFoundInRowTwo) {
    Standin editor;
    ASSERT_TRUE(editor.ready());
    editor.observer().clearMessages();
    ASSERT_EQ(0u, jump(switchWord(L"-jumptovalue", testPath(L"Rows\\second"))).exitCode());
    EditorReader views(editor.processId());
    EXPECT_EQ(2, views.nextRow(LVNI_SELECTED));
    EXPECT_EQ(2, views.nextRow(LVNI_FOCUSED));

    std::vector<StandinMessage> sent = drivingMessages(editor.observer().messages());
    // The value search starts with the click on the tree.
    auto start = sent.begin();
    while (start != sent.end() && start->message != WM_MBUTTONDOWN) ++start;
    sent.erase(sent.begin(), start);
    const LPARAM record = recordAddress(sent, LVM_GETITEMW);
    ASSERT_NE(0, record);
    const std::vector<StandinMessage> expected = {
        {Control::Tree, WM_MBUTTONDOWN, 0, 0},    {Control::List, LVM_GETITEMCOUNT, 0, 0},
        {Control::List, LVM_GETHEADER, 0, 0},     {Control::Header, HDM_GETITEMCOUNT, 0, 0},
        {Control::List, LVM_GETITEMW, 0, record}, {Control::List, LVM_GETITEMW, 0, record},
        {Control::List, LVM_GETITEMW, 0, record}, {Control::List, LVM_SETITEMW, 0, record},
        {Control::List, LVM_ENSUREVISIBLE, 2, FALSE},
        {Control::List, WM_MBUTTONDOWN, 0, 0},    {Control::List, WM_KEYUP, VK_LEFT, 0},
        {Control::List, WM_MBUTTONUP, 0, 0},
    };
    EXPECT_EQ(expected, sent);
}

TEST_F(MessageOrder, AHeaderThatStaysBusyIsAskedFiftyTimes) {
    Standin editor(withKnobs({{standin::knob::kListFillDelayMs, L"20000"}}));
    ASSERT_TRUE(editor.ready());
    editor.observer().clearMessages();
    const HivescoutRun run = jump(switchWord(L"-jumptovalue", testPath(L"Rows\\Second")));
    // The list is still empty when the rows are read, so the value is not found.
    EXPECT_EQ(ExitFlags::KeyNotFound, run.exitCode());
    std::size_t headerPolls = 0;
    for (const StandinMessage& message : drivingMessages(editor.observer().messages()))
        headerPolls += message.control == Control::Header && message.message == HDM_GETITEMCOUNT;
    EXPECT_EQ(50u, headerPolls);
}
