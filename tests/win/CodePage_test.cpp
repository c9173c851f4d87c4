// The code page in force under the program's manifest (UTF-8; the tests
// carry the same manifest): its character rule, the conversions, and the
// reading of values that older versions wrote in the system's legacy code
// page (the test prefix is a Western one: code page 1252).
#include "SkinTestKit.h"

#include "config/Settings.h"
#include "framework/CodePage.h"
#include "skin/SkinInfo.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using namespace skintest;

namespace {

TEST(CodePage, TheManifestMakesUtf8TheCodePageInForce) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    EXPECT_TRUE(AnsiCharRule().IsUtf8());
}

TEST(CodePage, Utf16BecomesUtf8AndUtf8StaysAsItIs) {
    // 日本 Ж é
    EXPECT_EQ(WideToAnsi(L"\u65E5\u672C \u0416 \u00E9"),
              "\xE6\x97\xA5\xE6\x9C\xAC \xD0\x96 \xC3\xA9");
    EXPECT_EQ(WideToAnsi(nullptr), "");
    EXPECT_EQ(AnsiToWide("\xE6\x97\xA5 \xC3\xA9"), L"\u65E5 \u00E9");
    // Already UTF-8: the search gets the bytes exactly, malformed ones too.
    EXPECT_EQ(AnsiToUtf8("\xE6\x97\xA5"), "\xE6\x97\xA5");
    EXPECT_EQ(AnsiToUtf8("a\xE8z"), "a\xE8z");
}

TEST(CodePage, LegacyTextIsReadInTheSystemsLegacyCodePage) {
    EXPECT_EQ(LegacyAnsiCodePage(), 1252u);
    // è and € in code page 1252.
    EXPECT_EQ(LegacyToAnsi("Th\xE8me \x80"), "Th\xC3\xA8me \xE2\x82\xAC");
    EXPECT_EQ(LegacyToAnsi("plain"), "plain");
    // A system whose own code page is UTF-8 has no older one to read in.
    EXPECT_EQ(LegacyToAnsi("Th\xE8me \x80", 65001), "Th\xE8me \x80");
    EXPECT_EQ(LegacyToAnsi("Th\xE8me", 1252), "Th\xC3\xA8me");
}

TEST(CodePage, TheSettingsStoreReadsLegacyValuesAndKeepsTheirBytes) {
    g_settingsIni.Clear();
    g_settingsIni.Parse("[PREFERENCES]\r\nskin=Th\xE8me\r\nnew=\xE6\x97\xA5\r\n");
    EXPECT_EQ(g_settingsIni.GetString(kPreferencesSection, kSkinKey), "Th\xC3\xA8me");
    EXPECT_EQ(g_settingsIni.GetString(kPreferencesSection, "new"), "\xE6\x97\xA5");
    EXPECT_EQ(g_settingsIni.Serialize(),
              "[PREFERENCES]\r\nskin=Th\xE8me\r\nnew=\xE6\x97\xA5\r\n\r\n");
    g_settingsIni.Clear();
}

TEST(CodePage, SkinDefinitionsReadLegacyValues) {
    TempSkinDirectory skins;
    skins.Write("Old.ini", "[SKIN]\r\nimage=Th\xE8me.bmp\r\nfont=Caf\xE9\r\n");
    const CIniFile definition = LoadSkinDefinition(skins.Path(), "Old");
    EXPECT_EQ(definition.GetString(kSkinSection, "image"), "Th\xC3\xA8me.bmp");
    EXPECT_EQ(definition.GetString(kSkinSection, "font"), "Caf\xC3\xA9");
}

// The system font's character set is the legacy one: text drawn with
// DrawTextA in it would be read as code page 1252 ("Ãœ" for "Ü").
TEST(CodePage, TrackTextIsDrawnAsTheCodePageInForceReadsIt) {
    TempSkinDirectory skins;
    skins.WritePieces();
    skins.Write("Plain.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + kColours);
    g_settingsIni.Clear();
    g_settingsIni.SetString(kPreferencesSection, kSkinKey, "Plain");
    TestPopup popup;
    popup.LoadSkin();
    popup.SetTrackText("\xC3\x84\xC3\xA4 \xC3\x96\xC3\xB6 \xC3\x9C\xC3\xBC \xC3\x9F"); // Ää Öö Üü ß
    Canvas canvas;
    popup.PaintInto(canvas);
    g_settingsIni.Clear();

    HDC dc = ::CreateCompatibleDC(nullptr);
    RECT expected{0, 0, 0, 0};
    ::DrawTextW(dc, L"\u00C4\u00E4 \u00D6\u00F6 \u00DC\u00FC \u00DF", -1, &expected,
                DT_CALCRECT | DT_NOPREFIX);
    ::DeleteDC(dc);
    const RECT ink = canvas.Extent(kText, RECT{10, 9, 297, 57});
    ASSERT_GT(ink.right, ink.left) << "no text";
    EXPECT_LE(ink.right - ink.left, expected.right);
    EXPECT_GE(ink.right - ink.left, expected.right - 4);
}

} // namespace
