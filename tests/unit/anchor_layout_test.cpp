#include <gtest/gtest.h>

#include "ui/anchor_layout.h"
#include "ui/layout_container.h"

using namespace hivescout;

namespace {

// The template-sized dialog of the usage window, in pixels: a 300 × 280 window with a
// text area at (10, 10)–(270, 220) and a button at (170, 236)–(270, 260).
const RECT kParent{0, 0, 300, 280};
const RECT kTextArea{10, 10, 270, 220};
const RECT kButton{170, 236, 270, 260};

AnchoredControl measured(std::uint32_t flags, const RECT& parent, const RECT& child) {
    AnchoredControl entry;
    entry.flags = flags;
    measureAnchoredControl(entry, parent, child);
    return entry;
}

RECT grown(const RECT& rect, LONG dx, LONG dy) { return RECT{rect.left, rect.top, rect.right + dx, rect.bottom + dy}; }

}  // namespace

TEST(AnchorArithmetic, MeasuresSizeAndRightBottomMargins) {
    const AnchoredControl entry = measured(AnchorFlags::Stretch, kParent, kButton);
    EXPECT_EQ(100, entry.width);
    EXPECT_EQ(24, entry.height);
    EXPECT_EQ(30, entry.rightMargin);
    EXPECT_EQ(20, entry.bottomMargin);
}

TEST(AnchorArithmetic, StretchKeepsAllFourMarginsWhenTheParentGrows) {
    const AnchoredControl entry = measured(AnchorFlags::Stretch, kParent, kTextArea);
    const RECT placed = anchoredRectangle(entry, grown(kParent, 500, 300), kTextArea);
    EXPECT_EQ(10, placed.left);
    EXPECT_EQ(10, placed.top);
    EXPECT_EQ(800 - 30, placed.right);
    EXPECT_EQ(580 - 60, placed.bottom);
}

TEST(AnchorArithmetic, BottomRightFollowsTheCornerAtItsOwnSize) {
    const AnchoredControl entry = measured(AnchorFlags::FollowBottomRight, kParent, kButton);
    const RECT placed = anchoredRectangle(entry, grown(kParent, 500, 300), kButton);
    EXPECT_EQ(670, placed.left);
    EXPECT_EQ(536, placed.top);
    EXPECT_EQ(770, placed.right);
    EXPECT_EQ(560, placed.bottom);
}

TEST(AnchorArithmetic, ShrinkingBelowTheMarginsIsPassedOnUnclamped) {
    const AnchoredControl text = measured(AnchorFlags::Stretch, kParent, kTextArea);
    const RECT tiny{0, 0, 20, 30};
    const RECT placed = anchoredRectangle(text, tiny, kTextArea);
    EXPECT_EQ(-20, placed.right - placed.left);  // 20 - 30 margin - 10 left edge
    EXPECT_EQ(-40, placed.bottom - placed.top);  // 30 - 60 margin - 10 top edge

    const AnchoredControl button = measured(AnchorFlags::FollowBottomRight, kParent, kButton);
    const RECT moved = anchoredRectangle(button, tiny, kButton);
    EXPECT_EQ(100, moved.right - moved.left);
    EXPECT_EQ(-110, moved.left);
}

TEST(AnchorArithmetic, OneSidedAnchorsKeepTheOtherEdgeWhereItIs) {
    const RECT child{10, 10, 60, 40};
    const AnchoredControl leftTop = measured(AnchorFlags::Left | AnchorFlags::Top, kParent, child);
    const RECT unmoved = anchoredRectangle(leftTop, grown(kParent, 100, 100), child);
    EXPECT_EQ(10, unmoved.left);
    EXPECT_EQ(60, unmoved.right);
    EXPECT_EQ(40, unmoved.bottom);

    const AnchoredControl leftRight = measured(AnchorFlags::Left | AnchorFlags::Right, kParent, child);
    const RECT widened = anchoredRectangle(leftRight, grown(kParent, 100, 100), child);
    EXPECT_EQ(10, widened.left);
    EXPECT_EQ(300 + 100 - 240, widened.right);
    EXPECT_EQ(10, widened.top);  // no vertical anchor: the top stays, height restored from the entry
    EXPECT_EQ(40, widened.bottom);
}

TEST(AnchorArithmetic, PresetFlagsKeepTheGivenGeometry) {
    AnchoredControl entry;
    entry.flags = AnchorFlags::Preset64;
    EXPECT_TRUE(keepsPresetGeometry(entry));
    entry.flags = AnchorFlags::Preset128 | AnchorFlags::Right;
    EXPECT_TRUE(keepsPresetGeometry(entry));
    entry.flags = AnchorFlags::Stretch;
    EXPECT_FALSE(keepsPresetGeometry(entry));
}

// The container with real windows: a popup parent and two children, resized for real.
class LayoutContainerWindows : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP | WS_THICKFRAME, 50, 50, 300, 280, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, parent_);
        text_ = child(kTextArea);
        button_ = child(kButton);
    }
    void TearDown() override {
        if (parent_) ::DestroyWindow(parent_);
    }
    HWND child(const RECT& rect) {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent_, nullptr, nullptr, nullptr);
    }
    AnchoredControl entry(HWND control, std::uint32_t flags) const {
        AnchoredControl e;
        e.child = control;
        e.parent = parent_;
        e.flags = flags;
        return e;
    }
    static RECT inParent(HWND parent, HWND control) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    static RECT windowRect(HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return rect;
    }

    HWND parent_ = nullptr;
    HWND text_ = nullptr;
    HWND button_ = nullptr;
};

TEST_F(LayoutContainerWindows, RegistersOnceAndRefusesAnEntryWithoutParent) {
    LayoutContainer layout;
    EXPECT_EQ(0u, layout.findControl(button_));
    EXPECT_EQ(0u, layout.registerControl(entry(button_, AnchorFlags::FollowBottomRight)));
    EXPECT_EQ(1u, layout.findControl(button_));
    EXPECT_EQ(1u, layout.registerControl(entry(button_, AnchorFlags::Stretch)));

    AnchoredControl orphan = entry(text_, AnchorFlags::Stretch);
    orphan.parent = nullptr;
    EXPECT_EQ(3u, layout.registerControl(orphan));
    EXPECT_EQ(0u, layout.findControl(text_));

    orphan.flags = AnchorFlags::Preset64;
    EXPECT_EQ(0u, layout.registerControl(orphan));
    EXPECT_EQ(1u, layout.findControl(text_));
}

TEST_F(LayoutContainerWindows, ResizingKeepsTheMarginsMeasuredAtRegistration) {
    LayoutContainer layout;
    const RECT parentBefore = windowRect(parent_);
    const RECT buttonBefore = windowRect(button_);
    const RECT textBefore = windowRect(text_);
    ASSERT_EQ(0u, layout.registerControl(entry(button_, AnchorFlags::FollowBottomRight)));
    ASSERT_EQ(0u, layout.registerControl(entry(text_, AnchorFlags::Stretch)));

    ::SetWindowPos(parent_, nullptr, 0, 0, 640, 500, SWP_NOMOVE | SWP_NOZORDER);
    layout.relayout();

    const RECT parentAfter = windowRect(parent_);
    const RECT buttonAfter = windowRect(button_);
    const RECT textAfter = windowRect(text_);
    EXPECT_EQ(parentBefore.right - buttonBefore.right, parentAfter.right - buttonAfter.right);
    EXPECT_EQ(parentBefore.bottom - buttonBefore.bottom, parentAfter.bottom - buttonAfter.bottom);
    EXPECT_EQ(buttonBefore.right - buttonBefore.left, buttonAfter.right - buttonAfter.left);
    EXPECT_EQ(buttonBefore.bottom - buttonBefore.top, buttonAfter.bottom - buttonAfter.top);

    EXPECT_EQ(textBefore.left - parentBefore.left, textAfter.left - parentAfter.left);
    EXPECT_EQ(textBefore.top - parentBefore.top, textAfter.top - parentAfter.top);
    EXPECT_EQ(parentBefore.right - textBefore.right, parentAfter.right - textAfter.right);
    EXPECT_EQ(parentBefore.bottom - textBefore.bottom, parentAfter.bottom - textAfter.bottom);
    EXPECT_GT(textAfter.right - textAfter.left, textBefore.right - textBefore.left);
}
