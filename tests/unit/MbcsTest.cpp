#include "core/Mbcs.h"

#include "TestLeadBytes.h"

#include <gtest/gtest.h>

namespace {

// "\x83\x5C" is one character whose trail byte is "\"; "\x82\x2D"-style pairs
// hide an ASCII-looking byte inside a character.
TEST(Mbcs, FindSkipsMatchesThatStartOnTrailBytes) {
    const std::string text = "\x83-x -";
    EXPECT_EQ(FindMbcs(text, "-", ShiftJisLead), 4u);
    EXPECT_EQ(FindMbcs(text, "-", NoLeadBytes), 1u);
    EXPECT_EQ(FindMbcs("\x81=\x81==", "=", ShiftJisLead), 4u);
    EXPECT_EQ(FindMbcs("abc", "x", ShiftJisLead), std::string::npos);
    EXPECT_EQ(FindMbcs("abcabc", "bc", NoLeadBytes, 2), 4u);
    EXPECT_EQ(FindMbcs("ab", "abc", NoLeadBytes), std::string::npos);
    EXPECT_EQ(FindMbcs("ab", "", NoLeadBytes), 0u);
}

TEST(Mbcs, FindLastReturnsTheLastBoundaryMatch) {
    EXPECT_EQ(FindLastMbcs("a\nb\nc", "\n", NoLeadBytes), 3u);
    // The second "\n"-looking byte is the trail of a lead byte of a fuzzed table.
    EXPECT_EQ(FindLastMbcs("a\n\x81\n", "\n", ShiftJisLead), 1u);
    EXPECT_EQ(FindLastMbcs("abc", "\n", NoLeadBytes), std::string::npos);
}

TEST(Mbcs, ReplaceAllWorksLeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceAllMbcs("a - b - c", " - ", "\n", NoLeadBytes), "a\nb\nc");
    EXPECT_EQ(ReplaceAllMbcs("aaaa", "aa", "b", NoLeadBytes), "bb");
    EXPECT_EQ(ReplaceAllMbcs("aaa", "aa", "a", NoLeadBytes), "aa");
    EXPECT_EQ(ReplaceAllMbcs("abc", "", "x", NoLeadBytes), "abc");
    // The " " after 0x81 is its trail byte, so only the real blank is replaced.
    EXPECT_EQ(ReplaceAllMbcs("\x81 x y", " ", "%20", ShiftJisLead), "\x81 x%20y");
}

TEST(Mbcs, CutNeverSplitsADoubleByteCharacter) {
    const std::string text = "ab\x82\xA0"
                             "c";
    EXPECT_EQ(CutLength(text, 2, ShiftJisLead), 2u);
    EXPECT_EQ(CutLength(text, 3, ShiftJisLead), 2u); // the lead byte would lose its trail
    EXPECT_EQ(CutLength(text, 4, ShiftJisLead), 4u);
    EXPECT_EQ(CutLength(text, 3, NoLeadBytes), 3u);
    EXPECT_EQ(CutLength(text, 100, ShiftJisLead), text.size());
    EXPECT_EQ(CutText(text, 3, ShiftJisLead), "ab");
    // A lead byte at the very end has no trail byte and is kept as one byte.
    EXPECT_EQ(CutText("ab\x82", 3, ShiftJisLead), "ab\x82");
}

TEST(Mbcs, CutAtTheTitleBufferLimit) {
    std::string text(254, 'a');
    text += "\x88\x9F"; // a double-byte character across the 255-byte limit
    EXPECT_EQ(CutText(text, 255, ShiftJisLead), std::string(254, 'a'));
    EXPECT_EQ(CutText(text, 255, NoLeadBytes).size(), 255u);
}

TEST(Mbcs, DirectoryEndsAtTheLastSeparatorThatIsACharacterOfItsOwn) {
    EXPECT_EQ(DirectoryOf("C:\\Apps\\Trackglow\\trackglow.exe", NoLeadBytes),
              "C:\\Apps\\Trackglow\\");
    EXPECT_EQ(DirectoryOf("/opt/tg/trackglow.exe", NoLeadBytes), "/opt/tg/");
    EXPECT_EQ(DirectoryOf("trackglow.exe", NoLeadBytes), "");
    // "\x95\x5C" is one character (its trail byte looks like "\"): the folder
    // ends at the separator before it, not inside it.
    EXPECT_EQ(DirectoryOf("C:\\\x95\x5C.exe", ShiftJisLead), "C:\\");
    EXPECT_EQ(DirectoryOf("C:\\\x95\x5C\\a.exe", ShiftJisLead), "C:\\\x95\x5C\\");
    EXPECT_EQ(DirectoryOf("C:\\\x95\x5C.exe", NoLeadBytes), "C:\\\x95\\");
}

} // namespace
