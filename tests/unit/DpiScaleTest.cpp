#include "core/DpiScale.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DpiScale, At96DpiEveryLengthStaysAsItIs) {
    for (int value : {-500, -1, 0, 1, 6, 32, 45, 64, 66, 317, 100000})
        EXPECT_EQ(ScaleForDpi(value, 96), value) << value;
}

TEST(DpiScale, ScalesAndRoundsToTheNearestPixelWithHalvesAwayFromZero) {
    EXPECT_EQ(ScaleForDpi(64, 144), 96);
    EXPECT_EQ(ScaleForDpi(32, 144), 48);
    EXPECT_EQ(ScaleForDpi(66, 144), 99);
    EXPECT_EQ(ScaleForDpi(1, 144), 2);     // 1.5
    EXPECT_EQ(ScaleForDpi(65, 144), 98);   // 97.5
    EXPECT_EQ(ScaleForDpi(45, 144), 68);   // 67.5
    EXPECT_EQ(ScaleForDpi(317, 144), 476); // 475.5
    EXPECT_EQ(ScaleForDpi(-317, 144), -476);
    EXPECT_EQ(ScaleForDpi(13, 120), 16); // 16.25
    EXPECT_EQ(ScaleForDpi(66, 120), 83); // 82.5
    EXPECT_EQ(ScaleForDpi(7, 192), 14);
    EXPECT_EQ(ScaleForDpi(64, 72), 48);
    EXPECT_EQ(ScaleForDpi(0, 144), 0);
}

TEST(DpiScale, AnUnusableDpiCountsAs96) {
    EXPECT_EQ(UsableDpi(0), 96);
    EXPECT_EQ(UsableDpi(-144), 96);
    EXPECT_EQ(UsableDpi(100000), 96);
    EXPECT_EQ(UsableDpi(144), 144);
    EXPECT_EQ(ScaleForDpi(64, 0), 64);
}

TEST(DpiScale, HugeLengthsDoNotOverflow) {
    EXPECT_EQ(ScaleForDpi(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(ScaleForDpi(INT_MIN + 1, 192), INT_MIN);
    EXPECT_EQ(UnscaleForDpi(INT_MAX, 96), INT_MAX);
}

TEST(DpiScale, AScreenLengthBecomesTheFewest96DpiPixelsThatCoverIt) {
    EXPECT_EQ(UnscaleForDpi(46, 96), 46);
    EXPECT_EQ(UnscaleForDpi(48, 144), 32);
    EXPECT_EQ(UnscaleForDpi(46, 144), 31); // 30.67
    EXPECT_EQ(UnscaleForDpi(1, 192), 1);   // 0.5
    EXPECT_EQ(UnscaleForDpi(408, 144), 272);
    EXPECT_EQ(UnscaleForDpi(409, 144), 273);
    EXPECT_EQ(UnscaleForDpi(0, 144), 0);
}

} // namespace
