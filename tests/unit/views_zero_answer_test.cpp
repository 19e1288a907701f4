// A tree that will not describe one of its items: the get-item message answers zero and
// leaves the text block as it was. Built in this process, where it can be made to do so;
// the blocks then simply live in this process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "base/exit_flags.h"
#include "app/jump_settings.h"
#include "tests/support/capture.h"
#include "views/view_finder.h"
#include "views/tree_walk.h"
#include "views/remote_buffers.h"
#include "regedit/regedit_instance.h"

using namespace hivescout;

namespace {

HTREEITEM silentItem = nullptr;
WNDPROC treeProcedure = nullptr;

LRESULT CALLBACK silentTree(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TVM_GETITEMW && reinterpret_cast<const TVITEMEXW*>(lParam)->hItem == silentItem) return 0;
    return ::CallWindowProcW(treeProcedure, window, message, wParam, lParam);
}

HTREEITEM insert(HWND tree, HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW item{};
    item.hParent = parent;
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT;
    item.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

// A window with a tree ("Computer", its child "Same", and that one's child "Other", which
// answers zero) and a list after it.
class SilentItemWindow : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                                    nullptr, nullptr);
        tree_ = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 150, 300, window_, nullptr,
                                  nullptr, nullptr);
        list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 150, 0, 150, 300, window_,
                                  nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_ && tree_ && list_);
        const HTREEITEM root = insert(tree_, TVI_ROOT, L"Computer");
        silentItem = insert(tree_, insert(tree_, root, L"Same"), L"Other");
        treeProcedure = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(tree_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&silentTree)));
        regeditInstance.process = ::GetCurrentProcess();
        regeditInstance.is32Bit = 0;
        passedPath.clear();
        targetKindWord = L"key";
        allocateLocalText();
        ASSERT_EQ(0u, findRegeditViews(WindowSet{window_}, views_, ::GetCurrentProcess()));
    }
    void TearDown() override {
        releaseRemoteBuffers();
        regeditInstance.process = nullptr;
        ::DestroyWindow(window_);
    }

    HWND window_ = nullptr;
    HWND tree_ = nullptr;
    HWND list_ = nullptr;
    RegeditViews views_;
    CapturedReport report_;
};

}  // namespace

TEST_F(SilentItemWindow, ASilentItemIsAMismatchNotThePreviousItemsText) {
    // After "Same" matched, the text block still says "Same" when "Other" stays silent.
    ScopedValue<JumpKind> kind(jumpSettings.jumpKind, JumpKind::Key);
    EXPECT_EQ(ExitFlags::KeyNotFound, jumpInRegeditViews(L"Same\\Same", views_, jumpSettings.jumpKind, RecordLayout::Bits64));
    EXPECT_EQ(L"Same\\", passedPath);
    EXPECT_EQ(L", The key was not found", report_.errorMessages().at(0));
}

TEST_F(SilentItemWindow, FindsTheListByWalkingTheTreesSiblings) {
    EXPECT_EQ(tree_, views_.tree);
    EXPECT_EQ(list_, views_.list);
}
