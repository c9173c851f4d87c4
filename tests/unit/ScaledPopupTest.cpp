// The pop-up's layout and animations on screens of more than 96 DPI: every
// place and length is its 96-DPI value scaled and rounded, the step counts
// stay. The expected values are the 96-DPI ones times 1.5 (144 DPI) or 2
// (192 DPI), rounded by hand; at 96 DPI itself they are the unscaled ones
// (PopupLayoutTest, AnimationStepsTest).
#include "core/AnimationSteps.h"
#include "core/PopupLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ScaledPopupLayout, TheNarrowestPopupAt144Dpi) {
    const PopupLayout p = ComputePopupLayout(0, 144);
    EXPECT_EQ(p.layout, (Rect{0, 0, 476, 99}));
    EXPECT_EQ(p.text, (Rect{15, 14, 461, 86}));
    EXPECT_EQ(p.prev, (Rect{446, 9, 465, 33}));
    EXPECT_EQ(p.next, (Rect{446, 38, 465, 62}));
    EXPECT_EQ(p.lyrics, (Rect{446, 66, 465, 90}));
    EXPECT_EQ(p.caption, (Rect{350, 66, 438, 90}));
    EXPECT_EQ(p.baseWidth, 317);
    EXPECT_EQ(p.dpi, 144);
}

TEST(ScaledPopupLayout, TheTilesFollowTheTextsWidthIn96DpiPixels) {
    // 408 pixels at 144 DPI are 272 at 96: seven tiles; one more pixel needs eight.
    EXPECT_EQ(ComputePopupLayout(408, 144).baseWidth, 317);
    EXPECT_EQ(ComputePopupLayout(409, 144).baseWidth, 362);
    EXPECT_EQ(ComputePopupLayout(409, 144).layout.right, 543);
    const PopupLayout doubled = ComputePopupLayout(600, 192);
    EXPECT_EQ(doubled.baseWidth, 362);
    EXPECT_EQ(doubled.layout, (Rect{0, 0, 724, 132}));
    EXPECT_EQ(doubled.text, (Rect{20, 18, 704, 114}));
    EXPECT_EQ(doubled.prev, (Rect{684, 12, 710, 44}));
}

TEST(ScaledPopupLayout, TheMeasuredTextFitsInsideTheTextRectangleWithRoomToSpare) {
    for (int dpi : {120, 144, 168, 192, 240}) {
        for (int text = 0; text < 1500; ++text) {
            const PopupLayout p = ComputePopupLayout(text, dpi);
            ASSERT_GE(p.text.Width(), text + 25 * dpi / 96 - 1) << dpi << " " << text;
            // and it ends at least 15 (scaled) pixels left of the buttons.
            ASSERT_LE(p.text.left + text + 15 * dpi / 96 - 1, p.prev.left) << dpi << " " << text;
        }
    }
}

TEST(ScaledPopupLayout, TilesLieEdgeToEdgeInsideTheFrame) {
    EXPECT_EQ(PopupOutline(317, 144), (Rect{0, 0, 476, 99}));
    EXPECT_EQ(PopupInsideFrame(317, 144), (Rect{2, 2, 474, 98}));
    EXPECT_EQ(PopupTileRect(0, 144), (Rect{2, 2, 69, 98}));
    EXPECT_EQ(PopupTileRect(1, 144), (Rect{69, 2, 137, 98}));
    EXPECT_EQ(PopupTileRect(6, 144), (Rect{407, 2, 474, 98}));
    for (int i = 0; i + 1 < 20; ++i)
        EXPECT_EQ(PopupTileRect(i, 144).right, PopupTileRect(i + 1, 144).left) << i;
    EXPECT_EQ(PopupTileRect(0, 96), (Rect{1, 1, 46, 65}));
    EXPECT_EQ(PopupInsideFrame(317, 96), (Rect{1, 1, 316, 65}));
}

TEST(ScaledAnimationSteps, TheShowEndsAtTheScaledRestingPlace) {
    EXPECT_EQ(ShowStartStep(476, 144), (WindowStep{-476, 48, 476, 99}));
    const std::vector<WindowStep> steps = ShowSteps(476, 144);
    ASSERT_EQ(steps.size(), 276u);
    EXPECT_EQ(steps.front(), (WindowStep{0, 48, 0, 99}));
    EXPECT_EQ(steps[137], (WindowStep{47, 48, 237, 99}));
    EXPECT_EQ(steps.back(), (WindowStep{96, 48, 476, 99}));
}

TEST(ScaledAnimationSteps, TheHideClosesToAScaledBarAndSliver) {
    const std::vector<WindowStep> steps = HideSteps(476, 144);
    ASSERT_EQ(steps.size(), 52u);
    EXPECT_EQ(steps.front(), (WindowStep{96, 48, 476, 99}));
    // 99 high closing to the 9-pixel bar (6 scaled) about the middle line.
    EXPECT_EQ(steps[25], (WindowStep{96, 93, 476, 9}));
    EXPECT_EQ(steps[26], (WindowStep{96, 93, 476, 9}));
    EXPECT_EQ(steps.back(), (WindowStep{334, 93, 0, 9}));
    for (int i = 0; i < 26; ++i) {
        const int above = steps[i].y - 48, below = 147 - (steps[i].y + steps[i].cy);
        EXPECT_LE(std::abs(above - below), 1) << i;
    }
    EXPECT_EQ(HideSteps(724, 192).back(), (WindowStep{490, 124, 0, 12}));
}

} // namespace
