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

TEST(Mbcs, Utf8SequencesAreOneToFourBytes) {
    EXPECT_EQ(Utf8SequenceLength("a", 0), 1u);
    EXPECT_EQ(Utf8SequenceLength("\xC3\xA9", 0), 2u);         // é
    EXPECT_EQ(Utf8SequenceLength("\xE6\x97\xA5", 0), 3u);     // 日
    EXPECT_EQ(Utf8SequenceLength("\xF0\x9F\x8E\xB5", 0), 4u); // musical note
    EXPECT_EQ(Utf8SequenceLength("\xEF\xBF\xBF", 0), 3u);     // U+FFFF
    EXPECT_EQ(Utf8SequenceLength("\xF4\x8F\xBF\xBF", 0), 4u); // U+10FFFF
    EXPECT_EQ(Utf8SequenceLength("", 0), 0u);
}

TEST(Mbcs, MalformedUtf8StartsNoSequence) {
    for (const char* bytes : {
             "\x80",             // a continuation byte alone
             "\xC0\x80",         // overlong NUL
             "\xC1\xBF",         // overlong
             "\xE0\x80\x80",     // overlong three-byte form
             "\xED\xA0\x80",     // a surrogate
             "\xF0\x80\x80\x80", // overlong four-byte form
             "\xF4\x90\x80\x80", // beyond U+10FFFF
             "\xF5\x80\x80\x80", // no such lead byte
             "\xFF",             //
             "\xE6\x97",         // cut short by the end
             "\xE6\x41\xA5",     // cut short by an ASCII byte
         }) {
        SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
        EXPECT_EQ(Utf8SequenceLength(bytes, 0), 0u);
        EXPECT_FALSE(IsValidUtf8(bytes));
        EXPECT_EQ(CharLength(bytes, 0, CharRule::Utf8()), 1u) << "one byte, one character";
    }
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
    EXPECT_TRUE(IsValidUtf8("Caf\xC3\xA9 \xD0\x96 \xE6\x97\xA5\xF0\x9F\x8E\xB5"));
    EXPECT_FALSE(IsValidUtf8("Th\xE8me")); // è in code page 1252
}

TEST(Mbcs, Utf8SearchesMatchOnlyWhereCharactersBegin) {
    // 日 is E6 97 A5: its last two bytes are no character of their own.
    EXPECT_EQ(FindMbcs("\xE6\x97\xA5", "\x97\xA5", CharRule::Utf8()), std::string::npos);
    EXPECT_EQ(FindMbcs("\xE6\x97\xA5", "\x97\xA5", NoLeadBytes), 1u);
    // The same bytes standing alone are malformed, each a character of its own.
    EXPECT_EQ(FindMbcs("\xE6\x97\xA5\x97\xA5", "\x97\xA5", CharRule::Utf8()), 3u);
    // Malformed bytes step one at a time, so what follows them is found.
    EXPECT_EQ(FindMbcs("\xE6 - x", " - ", CharRule::Utf8()), 1u);
    EXPECT_EQ(FindLastMbcs("\xD0\x96\n\xE6\x97\xA5\nWinamp", "\n", CharRule::Utf8()), 6u);
    EXPECT_EQ(ReplaceAllMbcs("\xE6\x97\xA5 \xE6\x9C\xAC", " ", "%20", CharRule::Utf8()),
              "\xE6\x97\xA5%20\xE6\x9C\xAC");
}

TEST(Mbcs, Utf8CutsKeepWholeCharacters) {
    const std::string text = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x8E\xB5"; // a é 日 and a 4-byte one
    const size_t expected[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10};
    for (size_t max = 0; max < std::size(expected); ++max)
        EXPECT_EQ(CutLength(text, max, CharRule::Utf8()), expected[max]) << "at most " << max;
    EXPECT_EQ(CutText(text, 5, CharRule::Utf8()), "a\xC3\xA9");
    // A malformed byte is a character of its own and may be cut after.
    EXPECT_EQ(CutText("ab\xE6\x97", 3, CharRule::Utf8()), "ab\xE6");
}

TEST(Mbcs, Utf8DirectoryEndsAtTheLastSeparator) {
    EXPECT_EQ(
        DirectoryOf("C:\\M\xC3\xBCsik\\\xE6\x97\xA5\xE6\x9C\xAC\\trackglow.exe", CharRule::Utf8()),
        "C:\\M\xC3\xBCsik\\\xE6\x97\xA5\xE6\x9C\xAC\\");
    EXPECT_EQ(DirectoryOf("\xE6\x97\xA5/x", CharRule::Utf8()), "\xE6\x97\xA5/");
}

TEST(Mbcs, ALeadByteTestIsARuleOfItsOwn) {
    const CharRule rule = ShiftJisLead;
    EXPECT_FALSE(rule.IsUtf8());
    EXPECT_TRUE(CharRule::Utf8().IsUtf8());
    EXPECT_EQ(CharLength("\x82\xA0", 0, rule), 2u);
    EXPECT_EQ(CharLength("\x82\xA0", 0, CharRule()), 1u);
    EXPECT_EQ(CharLength("\xC3\xA9", 0, rule), 1u);
}

} // namespace
