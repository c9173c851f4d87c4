#include "core/MediaText.h"

#include "TestLeadBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(MediaText, ComposesThreeLinesWithThePlayersName) {
    EXPECT_EQ(ComposeMediaText("Author", "Name", NoLeadBytes),
              "Author\nName\nWindows Media Player");
    EXPECT_EQ(ComposeMediaText("", "Name", NoLeadBytes), "\nName\nWindows Media Player");
    EXPECT_EQ(ComposeMediaText("", "", NoLeadBytes), "\n\nWindows Media Player");
}

// Author and name share 255 - 2 - 20 = 233 bytes.
TEST(MediaText, TextsThatFitAreKeptWhole) {
    const std::string author(116, 'a'), name(117, 'n');
    const std::string text = ComposeMediaText(author, name, NoLeadBytes);
    EXPECT_EQ(text, author + "\n" + name + "\nWindows Media Player");
    EXPECT_EQ(text.size(), 255u);
}

TEST(MediaText, ALongAuthorGivesWayAndThePlayersLineStays) {
    EXPECT_EQ(ComposeMediaText(std::string(300, 'a'), "Name", NoLeadBytes),
              std::string(229, 'a') + "\nName\nWindows Media Player");
    EXPECT_EQ(ComposeMediaText("Author", std::string(300, 'n'), NoLeadBytes),
              "Author\n" + std::string(227, 'n') + "\nWindows Media Player");
    // Two long ones share the room.
    EXPECT_EQ(ComposeMediaText(std::string(300, 'a'), std::string(300, 'n'), NoLeadBytes),
              std::string(116, 'a') + "\n" + std::string(117, 'n') + "\nWindows Media Player");
}

TEST(MediaText, CutsFallBetweenCharacters) {
    // Byte 230 of the name would be the trail of a double-byte character.
    const std::string name = std::string(229, 'n') + "\x88\x9F";
    EXPECT_EQ(ComposeMediaText("abc", name, ShiftJisLead),
              "abc\n" + std::string(229, 'n') + "\nWindows Media Player");
    EXPECT_EQ(ComposeMediaText("abc", name, NoLeadBytes),
              "abc\n" + std::string(229, 'n') + "\x88\nWindows Media Player");

    // 100 three-byte characters (日) as author: 76 of them (228 bytes) fit
    // beside a four-byte name; a byte cut would keep one byte of the 77th.
    std::string author;
    for (int i = 0; i < 100; ++i)
        author += "\xE6\x97\xA5";
    const std::string text = ComposeMediaText(author, "Song", CharRule::Utf8());
    EXPECT_EQ(text, author.substr(0, 228) + "\nSong\nWindows Media Player");
    EXPECT_TRUE(IsValidUtf8(text));
}

TEST(MediaText, AnotherPlayersLineIsKeptAndALongOneGivesWayFirst) {
    EXPECT_EQ(ComposeTrackText("A", "T", "Chrome", NoLeadBytes), "A\nT\nChrome");
    // The player's line keeps 85 bytes; author and name share 255 - 2 - 85.
    EXPECT_EQ(ComposeTrackText(std::string(300, 'a'), "T", std::string(100, 'p'), NoLeadBytes),
              std::string(167, 'a') + "\nT\n" + std::string(85, 'p'));
}

TEST(MediaText, AnAppIdNamesItsPlayerWithoutFolderOrExe) {
    EXPECT_EQ(PlayerNameFromAppId("C:\\Program Files\\Player\\Player.EXE", NoLeadBytes), "Player");
    EXPECT_EQ(PlayerNameFromAppId("D:/Apps/music.exe", NoLeadBytes), "music");
    EXPECT_EQ(PlayerNameFromAppId("Chrome", NoLeadBytes), "Chrome");
    EXPECT_EQ(PlayerNameFromAppId("Vendor.App_8wekyb3d8bbwe!App", NoLeadBytes),
              "Vendor.App_8wekyb3d8bbwe!App");
    EXPECT_EQ(PlayerNameFromAppId("C:\\Apps\\.exe", NoLeadBytes), ".exe");
    EXPECT_EQ(PlayerNameFromAppId("player.exe.bak", NoLeadBytes), "player.exe.bak");
    // A "\" that is the trail byte of a double-byte character separates nothing.
    const std::string id = "C:\\Apps\\\x95\x5CTool.exe";
    EXPECT_EQ(PlayerNameFromAppId(id, ShiftJisLead), "\x95\x5CTool");
    EXPECT_EQ(PlayerNameFromAppId(id, NoLeadBytes), "Tool");
}

} // namespace
