#include "core/AnimationSteps.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// At 96 DPI, named as the program names it: the unscaled steps.
TEST(AnimationSteps, ShowGrowsInFromTheLeftEdge) {
    EXPECT_EQ(ShowStartStep(362, 96), (WindowStep{-362, 32, 362, 66}));
    const std::vector<WindowStep> steps = ShowSteps(362, 96);
    ASSERT_EQ(steps.size(), 276u);
    EXPECT_EQ(steps.front(), (WindowStep{0, 32, 0, 66}));
    EXPECT_EQ(steps.back(), (WindowStep{64, 32, 362, 66}));
    EXPECT_EQ(steps[137], (WindowStep{64 * 137 / 275, 32, 362 * 137 / 275, 66}));
    for (size_t k = 1; k < steps.size(); ++k) {
        EXPECT_GE(steps[k].x, steps[k - 1].x);
        EXPECT_GE(steps[k].cx, steps[k - 1].cx);
    }
}

TEST(AnimationSteps, HideClosesToABarThenToASliver) {
    const int heights[] = {66, 63, 61, 59, 57, 54, 51, 49, 47, 45, 42, 39, 37,
                           35, 33, 30, 27, 25, 23, 21, 18, 15, 13, 11, 9,  6};
    const std::vector<WindowStep> steps = HideSteps(317, 96);
    ASSERT_EQ(steps.size(), 52u);
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(steps[i].cy, heights[i]) << i;
        EXPECT_EQ(steps[i].x, 64);
        EXPECT_EQ(steps[i].cx, 317);
        // Closing about the middle line: equal margins up to truncation.
        const int above = steps[i].y - 32, below = 98 - (steps[i].y + steps[i].cy);
        EXPECT_LE(std::abs(above - below), 1) << i;
    }
    EXPECT_EQ(steps[25].y, 62);
    for (int i = 26; i < 52; ++i) {
        EXPECT_EQ(steps[i].y, 62);
        EXPECT_EQ(steps[i].cy, 6);
    }
    EXPECT_EQ(steps[26].x, 64);
    EXPECT_EQ(steps[26].cx, 317);
    EXPECT_EQ(steps.back(), (WindowStep{222, 62, 1, 6}));              // odd width: 1 px left
    EXPECT_EQ(HideSteps(362, 96).back(), (WindowStep{245, 62, 0, 6})); // even: nothing
}

TEST(AnimationSteps, SwitchShrinksIntoTheRightEdge) {
    const Rect up{64, 32, 64 + 362, 98};
    const std::vector<WindowStep> steps = SwitchSteps(up);
    ASSERT_EQ(steps.size(), 51u);
    EXPECT_EQ(steps.front(), (WindowStep{64, 32, 362, 66}));
    EXPECT_EQ(steps.back(), (WindowStep{426, 32, 0, 66}));
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].x + steps[i].cx, 426) << i; // the right edge stays
        EXPECT_EQ(steps[i].y, 32);
        EXPECT_EQ(steps[i].cy, 66);
        if (i > 0) {
            EXPECT_GE(steps[i].x, steps[i - 1].x);
        }
    }
    // From a window caught halfway through a show or a hide.
    const std::vector<WindowStep> partial = SwitchSteps(Rect{30, 40, 150, 90});
    EXPECT_EQ(partial.front(), (WindowStep{30, 40, 120, 50}));
    EXPECT_EQ(partial[25], (WindowStep{90, 40, 60, 50}));
    EXPECT_EQ(partial.back(), (WindowStep{150, 40, 0, 50}));
}

} // namespace
