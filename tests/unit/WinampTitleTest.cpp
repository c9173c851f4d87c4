#include "core/WinampTitle.h"

#include "TestLeadBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(WinampTitle, PausedStoppedAndIdleTitlesAreRejected) {
    EXPECT_TRUE(IsWinampTitleRejected("Winamp 5.92"));
    EXPECT_TRUE(IsWinampTitleRejected("12. Artist - Song - Winamp [Paused]"));
    EXPECT_TRUE(IsWinampTitleRejected("12. Artist - Song - Winamp [Stopped]"));
    EXPECT_TRUE(IsWinampTitleRejected("Artist [Paused] - Song - Winamp"));
}

TEST(WinampTitle, TitlesMentioningThePlayerElsewhereAreShown) {
    EXPECT_FALSE(IsWinampTitleRejected("12. Artist - Song - Winamp"));
    EXPECT_FALSE(IsWinampTitleRejected("7. Band - Winamp Blues - Winamp"));
    EXPECT_FALSE(IsWinampTitleRejected("1. Artist - Song[Paused] - Winamp")); // no blank before
    EXPECT_FALSE(IsWinampTitleRejected("winamp 5.92"));
    EXPECT_FALSE(IsWinampTitleRejected(""));
}

TEST(WinampTitle, OnlyALeadingPlaylistNumberIsStripped) {
    EXPECT_EQ(WinampTitleToTrack("12. Artist - Song - Winamp", NoLeadBytes),
              "Artist\nSong\nWinamp");
    EXPECT_EQ(WinampTitleToTrack("Mr. Smith - Song - Winamp", NoLeadBytes),
              "Mr. Smith\nSong\nWinamp");
    EXPECT_EQ(WinampTitleToTrack("Artist - Song - Winamp", NoLeadBytes), "Artist\nSong\nWinamp");
    EXPECT_EQ(WinampTitleToTrack("12 - Song - Winamp", NoLeadBytes), "12\nSong\nWinamp");
    EXPECT_EQ(WinampTitleToTrack("1.5 - Song - Winamp", NoLeadBytes), "\nSong\nWinamp");
}

TEST(WinampTitle, StrippingStopsAtTheEndOfText) {
    EXPECT_EQ(WinampTitleToTrack("12.", NoLeadBytes), "");
    EXPECT_EQ(WinampTitleToTrack("12. ", NoLeadBytes), "");
    EXPECT_EQ(WinampTitleToTrack("3", NoLeadBytes), "3");
    EXPECT_EQ(WinampTitleToTrack("", NoLeadBytes), "");
}

TEST(WinampTitle, SeparatorsBecomeLines) {
    EXPECT_EQ(WinampTitleToTrack("3. One - Two - Three - Winamp", NoLeadBytes),
              "One\nTwo\nThree\nWinamp");
    EXPECT_EQ(WinampTitleToTrack("7. Band - Winamp Blues - Winamp", NoLeadBytes),
              "Band\nWinamp Blues\nWinamp");
    EXPECT_EQ(WinampTitleToTrack("1. A-B - C -D - Winamp", NoLeadBytes), "A-B\nC -D\nWinamp");
}

TEST(WinampTitle, DoubleByteCharactersAreNeverSplit) {
    // 0x81 0x20 is one character: its trail byte is no separator blank.
    EXPECT_EQ(WinampTitleToTrack("1. A\x81 - B - Winamp", ShiftJisLead), "A\x81 - B\nWinamp");
    EXPECT_EQ(WinampTitleToTrack("1. A\x81 - B - Winamp", NoLeadBytes), "A\x81\nB\nWinamp");
    // A double-byte character right after the number goes whole.
    EXPECT_EQ(WinampTitleToTrack("4.\x82\xA0X - Y - Winamp", ShiftJisLead), "X\nY\nWinamp");
}

} // namespace
