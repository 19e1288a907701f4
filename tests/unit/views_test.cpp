// The views driven in this process, where a tree can be made to misbehave and the blocks live here too.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "base/exit_flags.h"
#include "tests/support/capture.h"
#include "tests/support/editors.h"
#include "views/tree_walk.h"
#include "views/remote_buffers.h"
#include "views/value_list.h"

namespace {

const RecordLayout kBits64 = RecordLayout::Bits64;
const wchar_t kWriteFailed[] = L", Error occurred while writing in the regedit process memory. Error returned was : ";
HTREEITEM silentItem = nullptr;

// The silent item answers zero to a get-item message and leaves the text block as it was.
LRESULT CALLBACK silentTree(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == TVM_GETITEMW && reinterpret_cast<const TVITEMEXW*>(lParam)->hItem == silentItem) return 0;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

bool committed(void* address) {
    MEMORY_BASIC_INFORMATION info{};
    return ::VirtualQuery(address, &info, sizeof(info)) && info.State == MEM_COMMIT;
}

// A window with a tree ("Computer" over "Same", over the silent "Other") and a list after it.
class OwnViews : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr);
        tree_ = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD, 0, 0, 99, 99, window_, nullptr, nullptr, nullptr);
        list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD, 0, 0, 99, 99, window_, nullptr, nullptr, nullptr);
        silentItem = insert(insert(insert(TVI_ROOT, L"Computer"), L"Same"), L"Other");
        ::SetWindowSubclass(tree_, silentTree, 0, 0);
    }
    void TearDown() override { ::DestroyWindow(window_); }
    HTREEITEM insert(HTREEITEM parent, const wchar_t* text) {
        TVINSERTSTRUCTW item{parent, TVI_LAST, {TVIF_TEXT, nullptr, 0, 0, const_cast<wchar_t*>(text)}};
        return TreeView_InsertItem(tree_, &item);
    }
    std::uint32_t findViews(HANDLE process) {
        const std::uint32_t found = findRegeditViews(WindowSet{window_}, views_, process);
        return found != 0 ? found : buffers_.allocate(process);
    }

    HWND window_ = nullptr, tree_ = nullptr, list_ = nullptr;
    RegeditViews views_;
    RemoteBuffers buffers_;
    CapturedReport report_;
};

}  // namespace

TEST_F(OwnViews, FindsTheListAmongTheTreesSiblingsAndFreesTheBlocksOnRelease) {
    ASSERT_EQ(0u, findViews(::GetCurrentProcess()));
    EXPECT_EQ(tree_, views_.tree);
    EXPECT_EQ(list_, views_.list);
    void* const blocks[] = {buffers_.text.address(), buffers_.treeItem.address(), buffers_.listItem.address()};
    for (void* block : blocks) EXPECT_TRUE(committed(block));
    // Searching again keeps the blocks it holds.
    ASSERT_EQ(0u, findViews(::GetCurrentProcess()));
    EXPECT_EQ(blocks[0], buffers_.text.address());
    buffers_.release();
    for (void* block : blocks) EXPECT_FALSE(committed(block));
    EXPECT_FALSE(buffers_.text.held() || buffers_.treeItem.held() || buffers_.listItem.held() || buffers_.localText);
    // A second release finds nothing: what has since taken a block's place stays.
    void* const reused = ::VirtualAlloc(blocks[0], 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    buffers_.release();
    EXPECT_TRUE(reused && committed(reused));
    ::VirtualFree(reused, 0, MEM_RELEASE);
}

// After "Same" matched, the text block still says "Same" when "Other" stays silent.
TEST_F(OwnViews, ASilentItemIsAMismatchNotThePreviousItemsText) {
    ASSERT_EQ(0u, findViews(::GetCurrentProcess()));
    const JumpOutcome outcome = jumpInRegeditViews(L"Same\\Same", views_, JumpKind::Key, kBits64, buffers_).jump;
    EXPECT_EQ(ExitFlags::KeyNotFound, outcome.flags);
    EXPECT_EQ(L"Same\\", outcome.passedPath);
    EXPECT_EQ(L", The key was not found", report_.errorMessages().at(0));
}

// A failed write, in the stand-in through blocks that borrow a handle without the right (this process's own handle
// keeps every right); failed reads are the end-to-end tests'. The list's key is reached through blocks that may write,
// and the set-up fails with a handle that may not allocate.
TEST(StandinViews, EveryFailedExchangeIsReportedWithItsBits) {
    Editor editor;
    ASSERT_TRUE(editor.ready());
    CapturedReport report;
    const UniqueHandle full(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, editor.processId()));
    const UniqueHandle limited(::OpenProcess(PROCESS_ALL_ACCESS & ~PROCESS_VM_WRITE, FALSE, editor.processId()));
    RegeditViews views;
    RemoteBuffers writable, buffers;
    ASSERT_EQ(0u, findRegeditViews(WindowSet{editor.mainWindow()}, views, full.get()));
    ASSERT_EQ(0u, writable.allocate(full.get()) | buffers.allocate(limited.get()));
    // The tree walk.
    const JumpOutcome walk = jumpInRegeditViews(L"HKEY_CURRENT_USER", views, JumpKind::Key, kBits64, buffers).jump;
    EXPECT_EQ(ExitFlags::KeyNotFound | ExitFlags::TreeItemWriteFailed, walk.flags);
    EXPECT_EQ(L"", walk.passedPath);
    EXPECT_EQ(0u, report.errorMessages().at(0).find(kWriteFailed));
    // The value search in the list of the key reached.
    ASSERT_EQ(0u, jumpInRegeditViews(L"HKEY_CURRENT_USER", views, JumpKind::Key, kBits64, writable).jump.flags);
    std::size_t linesBefore = report.errorMessages().size();
    const ValueSearchResult result = selectValueInList(L"A", views, kBits64, buffers);
    EXPECT_EQ(ValueSearch::Failed, result.outcome);
    EXPECT_EQ(ExitFlags::KeyNotFound | ExitFlags::ListItemWriteFailed, result.failure);
    EXPECT_EQ(-1, ListView_GetNextItem(findEditorControls(editor.processId()).list, -1, LVNI_SELECTED));
    EXPECT_EQ(0u, report.errorMessages().at(linesBefore).find(kWriteFailed));
    const UniqueHandle noAllocation(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, editor.processId()));
    RemoteBuffers unallocated;
    linesBefore = report.errorMessages().size();
    EXPECT_EQ(ExitFlags::CommunicationSetupFailed, unallocated.allocate(noAllocation.get()));
    EXPECT_EQ(L", Failed to allocate memory in regedit's address space.", report.errorMessages().at(linesBefore));
}
