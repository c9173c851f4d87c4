#include "core/LyricsQuery.h"

#include "TestLeadBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(LyricsQuery, QuotesEveryLineButThePlayersName) {
    EXPECT_EQ(BuildLyricsQuery("Some Artist\nA Song\nWinamp", NoLeadBytes),
              "lyrics \"Some Artist\" \"A Song\"");
    EXPECT_EQ(BuildLyricsQuery("One\nTwo\nThree\nWinamp", NoLeadBytes),
              "lyrics \"One\" \"Two\" \"Three\"");
    EXPECT_EQ(BuildLyricsQuery("\nName\nWindows Media Player", NoLeadBytes),
              "lyrics \"\" \"Name\"");
    EXPECT_EQ(BuildLyricsQuery("Only\nWinamp", NoLeadBytes), "lyrics \"Only\"");
}

TEST(LyricsQuery, NothingToSearchWithoutALineFeed) {
    EXPECT_EQ(BuildLyricsQuery("", NoLeadBytes), "");
    EXPECT_EQ(BuildLyricsQuery("Winamp", NoLeadBytes), "");
    EXPECT_EQ(BuildLyricsUrl(""), "");
}

TEST(LyricsQuery, LineFeedsInsideDoubleByteCharactersStay) {
    // With 0x81 as a lead byte, the first LF is its trail byte.
    EXPECT_EQ(BuildLyricsQuery("A\x81\nB\nWinamp", ShiftJisLead), "lyrics \"A\x81\nB\"");
    EXPECT_EQ(BuildLyricsQuery("A\x81\nWinamp", ShiftJisLead), "");
}

TEST(LyricsQuery, UrlEscapesEverythingButUnreservedBytes) {
    EXPECT_EQ(BuildLyricsUrl("lyrics \"Some Artist\" \"A Song\""),
              std::string(kLyricsSearchBase) + "lyrics%20%22Some%20Artist%22%20%22A%20Song%22");
    EXPECT_EQ(PercentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(PercentEncode("a&b=c#d+e%f/g?h"), "a%26b%3Dc%23d%2Be%25f%2Fg%3Fh");
    EXPECT_EQ(PercentEncode(std::string("\0\n\x7F", 3)), "%00%0A%7F");
}

TEST(LyricsQuery, AmpersandsQuotesAndNonAsciiReachTheQueryIntact) {
    const std::string query =
        BuildLyricsQuery("AC/DC & \"Friends\"\nBj\xC3\xB6rk's #1\nWinamp", NoLeadBytes);
    EXPECT_EQ(query, "lyrics \"AC/DC & \"Friends\"\" \"Bj\xC3\xB6rk's #1\"");
    const std::string url = BuildLyricsUrl(query);
    EXPECT_EQ(url.rfind("https://", 0), 0u);
    EXPECT_EQ(url.substr(std::string(kLyricsSearchBase).size()),
              "lyrics%20%22AC%2FDC%20%26%20%22Friends%22%22%20%22Bj%C3%B6rk%27s%20%231%22");
}

TEST(LyricsQuery, Utf8TracksAreQuotedLineByLine) {
    // 日本語の歌手 / Café Ж Song / Winamp
    const std::string track =
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C\xE6\x89\x8B\n"
        "Caf\xC3\xA9 \xD0\x96 Song\nWinamp";
    const std::string query = BuildLyricsQuery(track, CharRule::Utf8());
    EXPECT_EQ(query,
              "lyrics \"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xAD\x8C\xE6\x89\x8B\" "
              "\"Caf\xC3\xA9 \xD0\x96 Song\"");
    EXPECT_EQ(
        BuildLyricsUrl(query).substr(std::string(kLyricsSearchBase).size()),
        "lyrics%20%22%E6%97%A5%E6%9C%AC%E8%AA%9E%E3%81%AE%E6%AD%8C%E6%89%8B%22%20%22Caf%C3%A9%20"
        "%D0%96%20Song%22");
}

} // namespace
