#include "core/SkinFontSpec.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinFont, WithoutAFaceThereIsNoFont) {
    EXPECT_FALSE(SkinFontFromKeys("", "12", "700").has_value());
}

TEST(SkinFont, MissingSizeAndWeightAreTenPointNormal) {
    const auto font = SkinFontFromKeys("Tahoma", "", "");
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->face, "Tahoma");
    EXPECT_EQ(font->points, 10);
    EXPECT_EQ(font->weight, 400);
}

TEST(SkinFont, SizeAndWeightAreReadAsNumbers) {
    const auto font = SkinFontFromKeys("Segoe UI", " 9pt", "700");
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->face, "Segoe UI");
    EXPECT_EQ(font->points, 9);
    EXPECT_EQ(font->weight, 700);
    // The face is taken byte for byte, blanks and other scripts included.
    EXPECT_EQ(SkinFontFromKeys(" \xE3\x83\xA1\xE3\x82\xA4\xE3\x83\xAA\xE3\x82\xAA", "", "")->face,
              " \xE3\x83\xA1\xE3\x82\xA4\xE3\x83\xAA\xE3\x82\xAA");
}

TEST(SkinFont, OutlandishNumbersAreHeldToSaneOnes) {
    EXPECT_EQ(SkinFontFromKeys("F", "0", "")->points, 10);
    EXPECT_EQ(SkinFontFromKeys("F", "-3", "")->points, 10);
    EXPECT_EQ(SkinFontFromKeys("F", "big", "")->points, 10);
    EXPECT_EQ(SkinFontFromKeys("F", "500", "")->points, 72);
    EXPECT_EQ(SkinFontFromKeys("F", "72", "")->points, 72);
    EXPECT_EQ(SkinFontFromKeys("F", "", "0")->weight, 400);
    EXPECT_EQ(SkinFontFromKeys("F", "", "2000")->weight, 1000);
    EXPECT_EQ(SkinFontFromKeys("F", "", "-5")->weight, 1);
    EXPECT_EQ(SkinFontFromKeys("F", "", "bold")->weight, 400);
}

TEST(SkinFont, HeightIsPointsScaledToTheDeviceRoundedToThePixel) {
    EXPECT_EQ(FontHeightForPoints(9, 96), -12);
    EXPECT_EQ(FontHeightForPoints(10, 96), -13); // 13.33
    EXPECT_EQ(FontHeightForPoints(11, 96), -15); // 14.67
    EXPECT_EQ(FontHeightForPoints(12, 96), -16);
    EXPECT_EQ(FontHeightForPoints(10, 144), -20);
    EXPECT_EQ(FontHeightForPoints(8, 120), -13); // 13.33
    EXPECT_EQ(FontHeightForPoints(72, 192), -192);
}

} // namespace
