#include <gtest/gtest.h>

#include "ui/anchor_layout.h"

using namespace hivescout;

namespace {

// The template-sized usage window's client area in pixels: 300 × 280, text area
// (10, 10)–(270, 220), button (170, 236)–(270, 260).
const RECT kParent{0, 0, 300, 280}, kTextArea{10, 10, 270, 220}, kButton{170, 236, 270, 260};

AnchoredControl measured(std::uint32_t flags, const RECT& child) { return measuredAnchor(flags, kParent, child); }

}  // namespace

TEST(AnchorArithmetic, AnchoredEdgesKeepTheirMarginsUnclampedBelowThem) {
    const RECT tiny{0, 0, 20, 30};
    const struct { std::uint32_t flags; RECT child, parent, expected; } rows[] = {
        // Shrinking below the margins is passed on unclamped (an ordinary resize is the end-to-end test's).
        {AnchorFlags::Stretch, kTextArea, tiny, {10, 10, -10, -30}},
        {AnchorFlags::FollowBottomRight, kButton, tiny, {-110, -14, -10, 10}},
    };
    for (const auto& row : rows) {
        const RECT placed = anchoredRectangle(measured(row.flags, row.child), row.parent, row.child);
        EXPECT_TRUE(::EqualRect(&row.expected, &placed))
            << row.flags << ": " << placed.left << ", " << placed.top << ", " << placed.right << ", " << placed.bottom;
    }
}
