#include "core/WinampTitle.h"

#include "TestLeadBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(WinampTitle, PausedStoppedAndIdleTitlesAreRejected) {
    EXPECT_TRUE(IsWinampTitleRejected("Winamp 5.92", NoLeadBytes));
    EXPECT_TRUE(IsWinampTitleRejected("12. Artist - Song - Winamp [Paused]", NoLeadBytes));
    EXPECT_TRUE(IsWinampTitleRejected("12. Artist - Song - Winamp [Stopped]", NoLeadBytes));
    EXPECT_TRUE(IsWinampTitleRejected("Artist [Paused] - Song - Winamp", NoLeadBytes));
}

TEST(WinampTitle, TitlesMentioningThePlayerElsewhereAreShown) {
    EXPECT_FALSE(IsWinampTitleRejected("12. Artist - Song - Winamp", NoLeadBytes));
    EXPECT_FALSE(IsWinampTitleRejected("7. Band - Winamp Blues - Winamp", NoLeadBytes));
    EXPECT_FALSE(
        IsWinampTitleRejected("1. Artist - Song[Paused] - Winamp", NoLeadBytes)); // no blank before
    EXPECT_FALSE(IsWinampTitleRejected("winamp 5.92", NoLeadBytes));
    EXPECT_FALSE(IsWinampTitleRejected("", NoLeadBytes));
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
    // The state tests step by characters too: "\x81 " is one character.
    EXPECT_FALSE(IsWinampTitleRejected("1. A - B\x81 [Paused]", ShiftJisLead));
    EXPECT_TRUE(IsWinampTitleRejected("1. A - B\x81 [Paused]", NoLeadBytes));
}

// 日本語の歌手 - Café Ж Song, as UTF-8.
constexpr char kJapaneseArtist[] =
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C\xE6\x89\x8B";
constexpr char kMixedSong[] = "Caf\xC3\xA9 \xD0\x96 Song";

TEST(WinampTitle, Utf8TitlesSplitIntoTheirLines) {
    const std::string title =
        std::string("1. ") + kJapaneseArtist + " - " + kMixedSong + " - Winamp";
    EXPECT_EQ(WinampTitleToTrack(title, CharRule::Utf8()),
              std::string(kJapaneseArtist) + "\n" + kMixedSong + "\nWinamp");
    EXPECT_FALSE(IsWinampTitleRejected(title, CharRule::Utf8()));
    // A character right after the number goes whole: "Ж" is two bytes.
    EXPECT_EQ(WinampTitleToTrack("2.\xD0\x96X - Y - Winamp", CharRule::Utf8()), "X\nY\nWinamp");
}

TEST(WinampTitle, ShortTitlesAreKeptWhole) {
    const std::string title = "1. " + std::string(243, 'a') + " - Winamp"; // 255 bytes
    EXPECT_EQ(CutWinampTitle(title, NoLeadBytes), title);
    EXPECT_EQ(CutWinampTitle("", NoLeadBytes), "");
}

TEST(WinampTitle, LongTitlesKeepTheirPlayerEnding) {
    const std::string playing = "1. " + std::string(300, 'a') + " - Winamp";
    EXPECT_EQ(CutWinampTitle(playing, NoLeadBytes), "1. " + std::string(243, 'a') + " - Winamp");
    // The paused form keeps its state, so it is still told apart.
    const std::string paused = "1. " + std::string(300, 'a') + " - Winamp [Paused]";
    const std::string cutPaused = CutWinampTitle(paused, NoLeadBytes);
    EXPECT_EQ(cutPaused, "1. " + std::string(234, 'a') + " - Winamp [Paused]");
    EXPECT_TRUE(IsWinampTitleRejected(cutPaused, NoLeadBytes));
    // The last " - Winamp" is the player's; one inside the song gives way.
    const std::string twice = "1. Band - Winamp Blues " + std::string(300, 'b') + " - Winamp";
    EXPECT_EQ(CutWinampTitle(twice, NoLeadBytes),
              "1. Band - Winamp Blues " + std::string(223, 'b') + " - Winamp");
}

TEST(WinampTitle, LongTitlesWithoutThePlayersNameAreCutAtTheEnd) {
    EXPECT_EQ(CutWinampTitle(std::string(300, 'x'), NoLeadBytes), std::string(255, 'x'));
    // An ending too long to keep is cut like any other text.
    const std::string ending = " - Winamp" + std::string(300, 'z');
    EXPECT_EQ(CutWinampTitle("1. A" + ending, NoLeadBytes), ("1. A" + ending).substr(0, 255));
}

TEST(WinampTitle, LongTitlesAreCutBetweenCharacters) {
    // 195 three-byte characters: "12. " and 80 of them fill 244 of the 246
    // bytes before the ending; a byte cut would keep two bytes of the 81st.
    std::string characters;
    for (int i = 0; i < 195; ++i)
        characters += "\xE8\xAA\x9E"; // 語
    const std::string title = "12. " + characters + " - Winamp";
    const std::string cut = CutWinampTitle(title, CharRule::Utf8());
    EXPECT_EQ(cut, "12. " + characters.substr(0, 240) + " - Winamp");
    EXPECT_TRUE(IsValidUtf8(cut));
    // Double-byte code pages likewise.
    const std::string doubleByte = "12. " + std::string(241, 'a') + "\x88\x9F - Winamp";
    EXPECT_EQ(CutWinampTitle(doubleByte, ShiftJisLead),
              "12. " + std::string(241, 'a') + " - Winamp");
}

} // namespace
