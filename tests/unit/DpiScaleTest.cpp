#include "core/DpiScale.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DpiScale, ScalesAndRoundsToTheNearestPixelWithHalvesAwayFromZero) {
    for (int value : {-500, -1, 0, 1, 6, 45, 66, 317})
        EXPECT_EQ(ScaleForDpi(value, 96), value) << value;
    EXPECT_EQ(ScaleForDpi(64, 144), 96);
    EXPECT_EQ(ScaleForDpi(1, 144), 2);     // 1.5
    EXPECT_EQ(ScaleForDpi(65, 144), 98);   // 97.5
    EXPECT_EQ(ScaleForDpi(317, 144), 476); // 475.5
    EXPECT_EQ(ScaleForDpi(-317, 144), -476);
    EXPECT_EQ(ScaleForDpi(13, 120), 16); // 16.25
    EXPECT_EQ(ScaleForDpi(66, 120), 83); // 82.5
    EXPECT_EQ(ScaleForDpi(64, 72), 48);
}

TEST(DpiScale, AnUnusableDpiCountsAs96AndNothingOverflows) {
    EXPECT_EQ(UsableDpi(0), 96);
    EXPECT_EQ(UsableDpi(-144), 96);
    EXPECT_EQ(UsableDpi(100000), 96);
    EXPECT_EQ(ScaleForDpi(64, 0), 64);
    EXPECT_EQ(ScaleForDpi(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(ScaleForDpi(INT_MIN + 1, 192), INT_MIN);
}

TEST(DpiScale, AScreenLengthBecomesTheFewest96DpiPixelsThatCoverIt) {
    EXPECT_EQ(UnscaleForDpi(46, 96), 46);
    EXPECT_EQ(UnscaleForDpi(48, 144), 32);
    EXPECT_EQ(UnscaleForDpi(46, 144), 31); // 30.67
    EXPECT_EQ(UnscaleForDpi(409, 144), 273);
    EXPECT_EQ(UnscaleForDpi(0, 144), 0);
}

} // namespace
