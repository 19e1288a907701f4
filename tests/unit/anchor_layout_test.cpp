#include <gtest/gtest.h>

#include <string>

#include "ui/anchor_layout.h"

using namespace hivescout;

namespace {

// The template-sized usage window's client area: 300 × 280, text (10, 10)–(270, 220), button (170, 236)–(270, 260).
const RECT kParent{0, 0, 300, 280}, kTextArea{10, 10, 270, 220}, kButton{170, 236, 270, 260};

// Where the child measured in that window goes in one of 20 × 30, as "left, top, right, bottom".
std::string placedInTiny(std::uint32_t flags, const RECT& child) {
    const RECT p = anchoredRectangle(measuredAnchor(flags, kParent, child), RECT{0, 0, 20, 30}, child);
    return std::to_string(p.left) + ", " + std::to_string(p.top) + ", " + std::to_string(p.right) + ", " +
           std::to_string(p.bottom);
}

}  // namespace

// Shrinking below the margins is passed on unclamped (an ordinary resize is the end-to-end test's).
TEST(AnchorArithmetic, AnchoredEdgesKeepTheirMarginsUnclampedBelowThem) {
    EXPECT_EQ("10, 10, -10, -30", placedInTiny(AnchorFlags::Stretch, kTextArea));
    EXPECT_EQ("-110, -14, -10, 10", placedInTiny(AnchorFlags::FollowBottomRight, kButton));
}
