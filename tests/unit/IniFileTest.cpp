#include "core/IniFile.h"

#include "TempDir.h"
#include "TestLeadBytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace {

CIniFile Parsed(const std::string& bytes, CharRule rule = NoLeadBytes) {
    CIniFile ini(rule);
    ini.Parse(bytes);
    return ini;
}

// The whole store as one comparable value.
std::string Dump(const CIniFile& ini) {
    std::string out;
    for (const IniSection& s : ini.Sections()) {
        out += "<" + s.name + ">";
        for (size_t i = 0; i < s.keys.size(); ++i)
            out += "{" + s.keys[i] + "|" + s.values[i] + "}";
    }
    return out;
}

TEST(IniFile, LineEndsCrLfAndLfGiveTheSameStore) {
    const CIniFile lf = Parsed("[S]\na=1\nb=2\n[T]\nc=3");
    const CIniFile crlf = Parsed("[S]\r\na=1\r\nb=2\r\n[T]\r\nc=3\r\n");
    EXPECT_EQ(Dump(lf), "<S>{a|1}{b|2}<T>{c|3}");
    EXPECT_EQ(Dump(crlf), Dump(lf));
}

TEST(IniFile, TextModeReadingOfCrAndCtrlZ) {
    // A lone CR is an ordinary byte; Ctrl-Z ends the data.
    EXPECT_EQ(Dump(Parsed("[S]\r\na=x\ry\r\r\nb=2\x1A\r\nc=3\r\n")), "<S>{a|x\ry\r}{b|2}");
}

TEST(IniFile, BlanksAndCaseAreSignificant) {
    const CIniFile ini = Parsed("[S]\nkey = value\n[s]\nk=lower\n[[S]]\nk2=v\n[ A ]\nk=blank\n");
    EXPECT_EQ(ini.GetString("S", "key "), " value");
    EXPECT_EQ(ini.GetString("S", "key"), "");
    EXPECT_EQ(ini.GetString("s", "k"), "lower");
    EXPECT_EQ(ini.GetString("S", "k"), "");
    EXPECT_EQ(ini.GetString("S", "k2"), "v"); // doubled brackets name the same section
    EXPECT_EQ(ini.GetString(" A ", "k"), "blank");
    EXPECT_EQ(ini.Sections().size(), 3u);
}

TEST(IniFile, LinesThatAreNeitherHeaderNorKeyAreSkipped) {
    const CIniFile ini = Parsed("[A]\na=1\n[B] \nstray words\nb=2\n[B] =x\n[\n]\nc=3\n");
    // "[B] " is no header: the keys after it stay in A.
    EXPECT_EQ(Dump(ini), "<A>{a|1}{b|2}{[B] |x}{c|3}");
}

TEST(IniFile, RepeatedKeysAndSectionsKeepTheFirstPosition) {
    CIniFile ini = Parsed("[A]\nx=1\ny=2\n[B]\nz=3\n[A]\nx=4\nw=5\n");
    EXPECT_EQ(Dump(ini), "<A>{x|4}{y|2}{w|5}<B>{z|3}");
    EXPECT_EQ(ini.Serialize(), "[A]\r\nx=4\r\ny=2\r\nw=5\r\n\r\n[B]\r\nz=3\r\n\r\n");
}

TEST(IniFile, KeyLinesSplitAtTheFirstEquals) {
    const CIniFile ini = Parsed("a=b=c\nempty=\n=novalue\n");
    EXPECT_EQ(Dump(ini), "<>{a|b=c}{empty|}{|novalue}");
}

TEST(IniFile, EqualsInsideADoubleByteCharacterDoesNotSplit) {
    // With 0x81 as a lead byte the first "=" is its trail byte.
    EXPECT_EQ(Dump(Parsed("\x81==v\n", ShiftJisLead)), "<>{\x81=|v}");
    EXPECT_EQ(Dump(Parsed("\x81==v\n", NoLeadBytes)), "<>{\x81|=v}");
}

TEST(IniFile, HeaderOnlyLoadsEmptyAndSavesNothing) {
    const CIniFile ini = Parsed("[Lonely]\n\n\n");
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_EQ(ini.Serialize(), "");
}

TEST(IniFile, KeysBeforeAnyHeaderRoundTripThroughAnEmptyName) {
    const CIniFile ini = Parsed("k=v\n[X]\na=b\n");
    const std::string saved = ini.Serialize();
    EXPECT_EQ(saved, "[]\r\nk=v\r\n\r\n[X]\r\na=b\r\n\r\n");
    EXPECT_EQ(Dump(Parsed(saved)), Dump(ini));
}

TEST(IniFile, LongLinesSplitEvery1023Bytes) {
    const std::string first = "a=" + std::string(1021, 'b'); // exactly 1023 bytes
    const CIniFile ini = Parsed(first + "c=d\n" + first + "\ne=f");
    EXPECT_EQ(ini.GetString("", "a"), std::string(1021, 'b'));
    EXPECT_EQ(ini.GetString("", "c"), "d");
    EXPECT_EQ(ini.GetString("", "e"), "f"); // the last line has no LF
    EXPECT_EQ(ini.Sections()[0].keys.size(), 3u);
}

TEST(IniFile, NulEndsTheLineContent) {
    const CIniFile ini = Parsed(std::string("k=ab\0cd=ef\n\0x=y\nz=1\n", 21));
    EXPECT_EQ(Dump(ini), "<>{k|ab}{z|1}");
}

TEST(IniFile, GetIntReadsLeadingDecimal) {
    const CIniFile ini =
        Parsed("[N]\na=12abc\nb= 7\nc=true\nd=-42\ne=+5\nf=99999999999\ng=-99999999999\n"
               "h=2147483647\ni=-2147483648\nj=2147483648\n");
    EXPECT_EQ(ini.GetInt("N", "a"), 12);
    EXPECT_EQ(ini.GetInt("N", "b"), 7);
    EXPECT_EQ(ini.GetInt("N", "c"), 0);
    EXPECT_EQ(ini.GetInt("N", "d"), -42);
    EXPECT_EQ(ini.GetInt("N", "e"), 5);
    EXPECT_EQ(ini.GetInt("N", "f"), INT_MAX); // clamped
    EXPECT_EQ(ini.GetInt("N", "g"), INT_MIN);
    EXPECT_EQ(ini.GetInt("N", "h"), INT_MAX);
    EXPECT_EQ(ini.GetInt("N", "i"), INT_MIN);
    EXPECT_EQ(ini.GetInt("N", "j"), INT_MAX);
    EXPECT_EQ(ini.GetInt("N", "missing"), 0);
}

TEST(IniFile, GetHexScansAtMostEightCharacters) {
    const CIniFile ini = Parsed("[H]\na=00ff0000\nb=0123456789\nc=0x1A2b\nd=0x123456789\ne=-1\n"
                                "f= ff\ng=zz\nh=-0x10\ni=FFFFFFFF\n");
    EXPECT_EQ(ini.GetHex("H", "a"), 0xFF0000u);
    EXPECT_EQ(ini.GetHex("H", "b"), 0x01234567u);
    EXPECT_EQ(ini.GetHex("H", "c"), 0x1A2Bu);
    EXPECT_EQ(ini.GetHex("H", "d"), 0x123456u); // the prefix counts towards the eight
    EXPECT_EQ(ini.GetHex("H", "e"), 0xFFFFFFFFu);
    EXPECT_EQ(ini.GetHex("H", "f"), 0xFFu);
    EXPECT_EQ(ini.GetHex("H", "g"), 0u);
    EXPECT_EQ(ini.GetHex("H", "h"), 0xFFFFFFF0u);
    EXPECT_EQ(ini.GetHex("H", "i"), 0xFFFFFFFFu);
    EXPECT_EQ(ini.GetHex("H", "missing"), 0u);
}

TEST(IniFile, SetStringAndSetInt) {
    CIniFile ini;
    EXPECT_FALSE(ini.SetString("S", "k", "v", false));
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_TRUE(ini.SetInt("S", "n", -17));
    EXPECT_EQ(ini.GetString("S", "n"), "-17");
    EXPECT_EQ(ini.GetInt("S", "n"), -17);
    EXPECT_FALSE(ini.SetString("S", "other", "v", false));
    EXPECT_TRUE(ini.SetString("S", "n", "changed", false));
    EXPECT_TRUE(ini.SetString("S", "blank"));
    EXPECT_EQ(Dump(ini), "<S>{n|changed}{blank|}");
    EXPECT_EQ(ini.FindSection("S"), 0);
    EXPECT_EQ(ini.FindKey(0, "blank"), 1);
    EXPECT_EQ(ini.FindKey(5, "n"), -1);
}

TEST(IniFile, SaveWritesExactBytesAndDropsBlankLines) {
    CIniFile ini = Parsed("\n\n[A]\n\n\na=1\n\n\n\n[B]\nb=line1\n");
    ini.SetString("B", "multi", "x\ny");
    EXPECT_EQ(ini.Serialize(), "[A]\r\na=1\r\n\r\n[B]\r\nb=line1\r\nmulti=x\r\ny\r\n\r\n");
}

TEST(IniFile, LoadCreatesAMissingFile) {
    TempDir dir;
    const std::string path = dir.File("settings.ini");
    CIniFile ini;
    ini.SetString("old", "k", "v");
    ASSERT_TRUE(ini.Load(path));
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(ini.Path(), path);
}

TEST(IniFile, LoadFailureKeepsThePath) {
    TempDir dir;
    const std::string path = dir.File("no-such-dir/settings.ini");
    CIniFile ini;
    EXPECT_FALSE(ini.Load(path));
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_EQ(ini.Path(), path);
    ini.SetString("S", "k", "v");
    EXPECT_FALSE(ini.Save());
}

TEST(IniFile, SaveWithoutPathFails) {
    CIniFile ini;
    ini.SetString("S", "k", "v");
    EXPECT_FALSE(ini.Save());
}

TEST(IniFile, UnknownKeysSurviveSaveInOrder) {
    TempDir dir;
    const std::string path = dir.File("settings.ini");
    WriteBytes(path, "[Other]\r\nzeta=1\r\nalpha=2\r\n\r\n[PREFERENCES]\r\nmine=x\r\nskin=Old\r\n");
    CIniFile ini;
    ASSERT_TRUE(ini.Load(path));
    ini.SetString("PREFERENCES", "skin", "Default Skin 1");
    ini.SetInt("PREFERENCES", "enwinamp", 1);
    ini.SetInt("PREFERENCES", "enwmp", 0);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(path), "[Other]\r\nzeta=1\r\nalpha=2\r\n\r\n[PREFERENCES]\r\nmine=x\r\n"
                               "skin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    CIniFile again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(Dump(again), Dump(ini));
}

TEST(IniFile, FailedTemporaryFileLeavesTheOldFileIntact) {
    TempDir dir;
    const std::string path = dir.File("settings.ini");
    const std::string original = "[PREFERENCES]\r\nskin=Keep Me\r\n\r\n";
    WriteBytes(path, original);
    CIniFile ini;
    ASSERT_TRUE(ini.Load(path));
    ini.SetString("PREFERENCES", "skin", "Lost");
    std::filesystem::create_directory(path + ".tmp"); // the temporary file cannot be made
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".tmp")); // not ours to remove
}

TEST(IniFile, WriteErrorLeavesTheOldFileIntact) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "needs /dev/full";
    TempDir dir;
    const std::string path = dir.File("settings.ini");
    const std::string original = "[S]\r\nk=v\r\n\r\n";
    WriteBytes(path, original);
    CIniFile ini;
    ASSERT_TRUE(ini.Load(path));
    ini.SetString("S", "k", "new");
    // The temporary file opens, but every write to it fails (disk full).
    std::filesystem::create_symlink("/dev/full", path + ".tmp");
    EXPECT_FALSE(ini.Save());
    ASSERT_FALSE(std::filesystem::is_symlink(path)); // the failed file was not moved in
    EXPECT_EQ(ReadBytes(path), original);
}

bool RefuseToReplace(const char*, const char*) {
    return false;
}

TEST(IniFile, FailedReplaceRemovesTheTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("settings.ini");
    const std::string original = "[S]\r\nk=v\r\n\r\n";
    WriteBytes(path, original);
    CIniFile ini(NoLeadBytes, RefuseToReplace);
    ASSERT_TRUE(ini.Load(path));
    ini.SetString("S", "k", "new");
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(IniFile, LoadReplacesThePreviousStore) {
    TempDir dir;
    WriteBytes(dir.File("a.ini"), "[A]\na=1\n");
    WriteBytes(dir.File("b.ini"), "[B]\nb=2\n");
    CIniFile ini;
    ASSERT_TRUE(ini.Load(dir.File("a.ini")));
    ASSERT_TRUE(ini.Load(dir.File("b.ini")));
    EXPECT_EQ(Dump(ini), "<B>{b|2}");
}

// Stands in for the system's legacy code page (here Latin-1): every byte of
// 0x80 and above becomes its two-byte UTF-8 form.
std::string Latin1ToUtf8(std::string_view legacy) {
    std::string utf8;
    for (char c : legacy) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

TEST(IniFile, UnderUtf8ValuesNotInUtf8AreReadInTheLegacyCodePage) {
    CIniFile ini(CharRule::Utf8(), nullptr, Latin1ToUtf8);
    ini.Parse("[PREFERENCES]\r\nskin=Th\xE8me\r\nnew=Th\xC3\xA8me\r\nplain=Blue\r\n"
              "other=\xE8\r\n");
    EXPECT_EQ(ini.GetString("PREFERENCES", "skin"), "Th\xC3\xA8me");
    EXPECT_EQ(ini.GetString("PREFERENCES", "new"), "Th\xC3\xA8me"); // already UTF-8
    EXPECT_EQ(ini.GetString("PREFERENCES", "plain"), "Blue");
    EXPECT_EQ(ini.GetString("PREFERENCES", "missing"), "");
    // What is stored, and written back, keeps its bytes; new values are
    // written as given.
    ini.SetString("PREFERENCES", "skin2", "Th\xC3\xA8me");
    EXPECT_EQ(ini.Serialize(),
              "[PREFERENCES]\r\nskin=Th\xE8me\r\nnew=Th\xC3\xA8me\r\nplain=Blue\r\n"
              "other=\xE8\r\nskin2=Th\xC3\xA8me\r\n\r\n");
}

TEST(IniFile, UnderUtf8ALongLineIsCutBeforeACharacterItWouldSplit) {
    CIniFile ini(CharRule::Utf8(), nullptr, Latin1ToUtf8);
    // The limit falls inside 日 (E6 97 A5), and after a legacy è that nothing completes.
    ini.Parse("a=" + std::string(1020, 'b') + "\xE6\x97\xA5\ne=" + std::string(1020, 'f') +
              "\xE8x=1");
    EXPECT_EQ(ini.GetString("", "a"), std::string(1020, 'b'));
    EXPECT_EQ(ini.GetString("", "e"), std::string(1020, 'f') + "\xC3\xA8");
    EXPECT_EQ(ini.GetString("", "x"), "1");
}

TEST(IniFile, OutsideUtf8ValuesAreReadAsTheyAre) {
    CIniFile ini(NoLeadBytes, nullptr, Latin1ToUtf8);
    ini.Parse("[PREFERENCES]\r\nskin=Th\xE8me\r\n");
    EXPECT_EQ(ini.GetString("PREFERENCES", "skin"), "Th\xE8me");
    CIniFile withoutReader(CharRule::Utf8());
    withoutReader.Parse("[PREFERENCES]\r\nskin=Th\xE8me\r\n");
    EXPECT_EQ(withoutReader.GetString("PREFERENCES", "skin"), "Th\xE8me");
}

TEST(IniFile, Utf8KeyLinesSplitAtTheirEqualsSign) {
    // 日=値 and a key whose malformed bytes step one at a time.
    EXPECT_EQ(Dump(Parsed("[S]\n\xE6\x97\xA5=\xE5\x80\xA4\n\xE6=x\n", CharRule::Utf8())),
              "<S>{\xE6\x97\xA5|\xE5\x80\xA4}{\xE6|x}");
}

} // namespace
