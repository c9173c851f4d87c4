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

TEST(MediaText, LongTextsAreCutTo255BytesOnCharacterBoundaries) {
    const std::string author(300, 'a');
    EXPECT_EQ(ComposeMediaText(author, "Name", NoLeadBytes), std::string(255, 'a'));
    // Byte 254 opens a double-byte character that would lose its trail.
    const std::string name = std::string(249, 'n') + "\x88\x9F";
    const std::string text = ComposeMediaText("abc", name, ShiftJisLead);
    EXPECT_EQ(text, "abc\n" + std::string(249, 'n') + "\x88\x9F");
    EXPECT_EQ(text.size(), 255u);
    const std::string shifted = ComposeMediaText("abcd", name, ShiftJisLead);
    EXPECT_EQ(shifted, "abcd\n" + std::string(249, 'n'));
}

} // namespace
