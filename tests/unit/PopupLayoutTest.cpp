#include "core/PopupLayout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(PopupLayout, WidthIsAWholeNumberOfTilesAndAtLeastSeven) {
    EXPECT_EQ(PopupWidthForText(0), 317);
    EXPECT_EQ(PopupWidthForText(272), 317);
    EXPECT_EQ(PopupWidthForText(273), 362);
    EXPECT_EQ(PopupWidthForText(317), 362);
    EXPECT_EQ(PopupWidthForText(318), 407);
    EXPECT_EQ(PopupWidthForText(363), 452);
    EXPECT_EQ(PopupWidthForText(-5), 317);
    for (int w = 0; w < 2000; ++w) {
        const int width = PopupWidthForText(w);
        ASSERT_EQ((width - 2) % kTileWidth, 0) << w;
        ASSERT_GE(width - 20, w + 10 + 15) << w; // the text ends 15 px left of the buttons
    }
}

TEST(PopupLayout, HugeTextWidthsDoNotOverflow) {
    const int width = PopupWidthForText(INT_MAX);
    EXPECT_GT(width, 0);
    EXPECT_EQ((width - 2) % kTileWidth, 0);
    EXPECT_EQ(PopupTileCount(width), (width - 2) / kTileWidth);
}

TEST(PopupLayout, TileCount) {
    EXPECT_EQ(PopupTileCount(317), 7);
    EXPECT_EQ(PopupTileCount(362), 8);
}

// The same with and without a DPI of 96 (the DPI-aware form at 96 DPI).
TEST(PopupLayout, EmptyTextLayout) {
    for (const PopupLayout& p : {ComputePopupLayout(0), ComputePopupLayout(0, 96)}) {
        EXPECT_EQ(p.layout, (Rect{0, 0, 317, 66}));
        EXPECT_EQ(p.text, (Rect{10, 9, 307, 57}));
        EXPECT_EQ(p.prev, (Rect{297, 6, 310, 22}));
        EXPECT_EQ(p.next, (Rect{297, 25, 310, 41}));
        EXPECT_EQ(p.lyrics, (Rect{297, 44, 310, 60}));
        EXPECT_EQ(p.caption, (Rect{233, 44, 292, 60}));
    }
    EXPECT_EQ(ComputePopupLayout(272, 96).layout.right, 317);
}

TEST(PopupLayout, ButtonsAreSeparateAndFollowTheWidth) {
    EXPECT_EQ(ComputePopupLayout(300, 96).layout, (Rect{0, 0, 362, 66}));
    EXPECT_EQ(ComputePopupLayout(300, 96).prev, (Rect{342, 6, 355, 22}));
    const PopupLayout p = ComputePopupLayout(300);
    EXPECT_EQ(p.layout.right, 362);
    for (const Rect& button : {p.prev, p.next, p.lyrics}) {
        EXPECT_EQ(button.left, 342);
        EXPECT_EQ(button.Width(), 13);
        EXPECT_EQ(button.Height(), 16);
    }
    EXPECT_EQ(p.next.top - p.prev.bottom, 3);
    EXPECT_EQ(p.lyrics.top - p.next.bottom, 3);
    EXPECT_EQ(p.caption.right, 362 - 25);
}

TEST(PopupLayout, ContainsExcludesRightAndBottom) {
    const Rect r{297, 44, 310, 60};
    EXPECT_TRUE(r.Contains(297, 44));
    EXPECT_TRUE(r.Contains(309, 59));
    EXPECT_FALSE(r.Contains(310, 50));
    EXPECT_FALSE(r.Contains(300, 60));
    EXPECT_FALSE(r.Contains(296, 50));
}

} // namespace
