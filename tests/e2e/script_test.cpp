// Titles and names in any script, end to end: Winamp titles and media player
// names in Japanese, Cyrillic, Greek and Arabic reach the lyrics search
// exactly (recorder.exe stands in for the browser), a long title is cut
// between characters, a settings file in the legacy code page still selects
// its skin, and a skin named in another script is listed, chosen, saved as
// UTF-8 and shown. The test driver runs in the legacy code page (1252), so
// its fake players are Unicode windows and its names are UTF-16.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/LyricsUrl.h"
#include "support/MediaPlayerWindow.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/Session.h"
#include "support/SkinList.h"

#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"
#include "tests/fakes/recorder/RecorderRegistration.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

using namespace e2e;

namespace {

constexpr long kPlaying = 3;

// 日本語の歌手 - Café Ж Song: Japanese, accented Latin and Cyrillic.
constexpr wchar_t kJapaneseArtist[] = L"\u65E5\u672C\u8A9E\u306E\u6B4C\u624B";
constexpr wchar_t kMixedSong[] = L"Caf\u00E9 \u0416 Song";
// Ансамбль Ελληνικά (Cyrillic and Greek); 日本の歌 أغنية (Japanese and Arabic).
constexpr wchar_t kCyrillicGreekAuthor[] =
    L"\u0410\u043D\u0441\u0430\u043C\u0431\u043B\u044C \u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA"
    L"\u03AC";
constexpr wchar_t kJapaneseArabicName[] =
    L"\u65E5\u672C\u306E\u6B4C \u0623\u063A\u0646\u064A\u0629";
// 語, three bytes in UTF-8.
constexpr wchar_t kWord[] = L"\u8A9E";

// A skin of the tests' own named in Japanese (日本語スキン) whose tile is named
// in Japanese too (青.bmp).
constexpr wchar_t kJapaneseSkin[] = L"\u65E5\u672C\u8A9E\u30B9\u30AD\u30F3";
constexpr wchar_t kJapaneseTile[] = L"\u9752.bmp";
const Rgb kJapaneseSkinTile{40, 170, 60};
// A skin of the tests' own named Thème, in code page 1252 as older versions
// stored it (è is the single byte 0xE8).
constexpr char kLegacySkin[] = "Th\xE8me";
const Rgb kLegacySkinTile{200, 60, 170};
constexpr char kSkinColours[] = "text=00FFFFFF\r\nborder=0000FF00\r\n";

// A point on the first tile below any text and left of the buttons.
constexpr POINT kPopupTileProbe{kPopupAtRest.x + 1 + 20, kPopupAtRest.y + 1 + 60};
// The same point of the Preferences dialog's preview (client coordinates).
constexpr POINT kPreviewTileProbe{27 + 1 + 20, 71 + 1 + 60};

// The platform's UTF-8 form of UTF-16 text, for writing expectations down once.
std::string Utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    std::string bytes(static_cast<size_t>(size) * 4, '\0');
    bytes.resize(static_cast<size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &bytes[0], size * 4, nullptr, nullptr)));
    return bytes;
}

std::wstring Repeated(const std::wstring& text, int times) {
    std::wstring repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

std::string Settings(const std::string& keyLines) {
    return "[PREFERENCES]\r\n" + keyLines + "\r\n";
}

// Waits for the pop-up to move and come to rest again (a new track shown);
// returns its width, 0 if that never happened.
int WaitForNewShow(HWND main) {
    GeometryTrace trace(main);
    if (!trace.RecordUntil([](const Box& b) { return !IsAtRest(b); }, kGenerousMs))
        return 0;
    trace.Clear();
    return trace.RecordUntil(IsAtRest, kGenerousMs) ? trace.Last().width : 0;
}

// Clicks Lyrics on a pop-up `width` wide and returns the decoded query of
// the URL the browser was given ("" when none came or it was malformed).
std::string ClickLyrics(HWND main, int width, const UrlLog& log) {
    const size_t before = log.Lines().size();
    PostClick(main, POINT{width - 14, 52});
    const std::string url = log.WaitForLine(before + 1);
    const std::optional<std::string> query = SearchedQuery(url);
    EXPECT_TRUE(query.has_value()) << "not a search URL: " << url;
    return query.value_or("");
}

Rgb ClientPixel(HWND window, POINT point) {
    ClientToScreen(window, &point);
    return ScreenPixel(point.x, point.y);
}

bool PopupTileBecomes(const Rgb& colour) {
    return WaitUntil([&] { return ScreenPixel(kPopupTileProbe.x, kPopupTileProbe.y) == colour; },
                     5000);
}

void PostButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// One program watching a fake Winamp, with the recorder as the browser.
class WinampInAnyScript : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_registration.Active()) << "could not register recorder.exe";
    }

    // Shows the title and returns the query its Lyrics button searches for.
    std::string SearchFor(const std::wstring& title) {
        m_winamp.SetTitle(title);
        const int width = WaitForNewShow(m_main);
        if (width == 0) {
            ADD_FAILURE() << "the track did not come up: " << WindowBox(m_main);
            return {};
        }
        return ClickLyrics(m_main, width, m_log);
    }

    CRecorderRegistration m_registration;
    UrlLog m_log;
    Session m_session{Settings("skin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n")};
    FakeWinamp m_winamp{std::wstring(L"Winamp 5.94")};
    HWND m_main = m_session.Main();
};

TEST_F(WinampInAnyScript, TitleReachesTheSearchExactly) {
    const std::string query =
        SearchFor(std::wstring(L"1. ") + kJapaneseArtist + L" - " + kMixedSong + L" - Winamp");
    EXPECT_EQ(query, "lyrics \"" + Utf8(kJapaneseArtist) + "\" \"" + Utf8(kMixedSong) + "\"");
}

TEST_F(WinampInAnyScript, ALongTitleIsCutBetweenCharactersAndKeepsItsPlayerLine) {
    // 598 bytes in UTF-8. The 255-byte cut keeps " - Winamp" and, before
    // it, "12. " and 80 whole characters (244 bytes): 2 bytes of the 81st
    // would still fit.
    const std::string query = SearchFor(L"12. " + Repeated(kWord, 195) + L" - Winamp");
    EXPECT_TRUE(IsUtf8(query));
    EXPECT_EQ(query, "lyrics \"" + Utf8(Repeated(kWord, 80)) + "\"");
}

TEST(MediaPlayerInAnyScript, AuthorAndNameReachTheSearchExactly) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active()) << "could not register the fake control";
    CRecorderRegistration recorder;
    ASSERT_TRUE(recorder.Active()) << "could not register recorder.exe";
    CFakeWmpDriver driver;
    driver.SetMedia(kPlaying, Utf8(kCyrillicGreekAuthor), Utf8(kJapaneseArabicName));
    MediaPlayerWindow player;
    ASSERT_NE(player.Get(), nullptr);
    UrlLog log;

    Session session(Settings("skin=Default Skin 1\r\nenwinamp=0\r\nenwmp=1\r\n"));
    HWND main = session.Main();
    Box box;
    ASSERT_TRUE(WaitUntil([&] { return IsAtRest(box = WindowBox(main)); })) << WindowBox(main);

    EXPECT_EQ(ClickLyrics(main, box.width, log), "lyrics \"" + Utf8(kCyrillicGreekAuthor) +
                                                     "\" \"" + Utf8(kJapaneseArabicName) + "\"");
}

TEST(SkinsInAnyScript, ALegacySettingsFileStillSelectsItsSkin) {
    const std::string settings = Settings(std::string("skin=") + kLegacySkin);
    // Written by the driver in code page 1252: the files are named Thème and
    // the definition names its tile "Thème.bmp" in that code page too.
    Session session(settings, [](const TestInstall& install) {
        AddFlatSkin(install, kLegacySkin, kLegacySkinTile, kSkinColours);
    });
    const RunningProgram& program = session.Program();
    HWND main = session.Main();

    program.PostCommand(kCommandToggle);
    ASSERT_TRUE(WaitUntil([&] { return WindowBox(main) == kPopupAtRest; })) << WindowBox(main);
    EXPECT_TRUE(PopupTileBecomes(kLegacySkinTile))
        << ScreenPixel(kPopupTileProbe.x, kPopupTileProbe.y);

    // The Preferences list shows it selected; the file is left as it was.
    program.PostCommand(kCommandPreferences);
    HWND dialog = program.WaitForDialog("Preferences");
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::wstring> entries = SkinEntriesW(dialog);
    const int selected = SelectedSkin(dialog);
    ASSERT_GE(selected, 0) << "the stored skin is not selected";
    ASSERT_LT(selected, static_cast<int>(entries.size()));
    EXPECT_EQ(entries[static_cast<size_t>(selected)], L"Th\u00E8me");
    PostButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(session.Install().ReadSettings(), settings);
}

// Writes the skin 日本語スキン with its tile 青.bmp into the install.
void AddJapaneseSkin(const TestInstall& install) {
    // Made under ASCII names, then renamed: the driver's code page cannot
    // spell the names.
    AddFlatSkin(install, "kana", kJapaneseSkinTile, kSkinColours);
    WriteFileBytes(JoinPath(install.SkinFolder(), "kana.ini"),
                   "[SKIN]\r\nimage=" + Utf8(kJapaneseTile) + "\r\nbgtype=0\r\n" + kSkinColours);
    const auto inSkins = [&](const std::string& name) {
        const std::string path = JoinPath(install.SkinFolder(), name);
        return std::wstring(path.begin(), path.end()); // the install's path is ASCII
    };
    ASSERT_TRUE(
        MoveFileW(inSkins("kana.bmp").c_str(), (inSkins("") + L"\\" + kJapaneseTile).c_str()));
    ASSERT_TRUE(MoveFileW(inSkins("kana.ini").c_str(),
                          (inSkins("") + L"\\" + kJapaneseSkin + L".ini").c_str()));
}

TEST(SkinsInAnyScript, ASkinNamedInAnotherScriptIsListedChosenSavedAndShown) {
    Session session(Settings("skin=Default Skin 1\r\n"), AddJapaneseSkin);
    const RunningProgram& program = session.Program();
    const TestInstall& install = session.Install();
    HWND main = session.Main();

    program.PostCommand(kCommandPreferences);
    HWND dialog = program.WaitForDialog("Preferences");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseSkin(dialog, std::wstring(kJapaneseSkin))) << "the skin is not listed";
    EXPECT_TRUE(WaitUntil(
        [&] { return ClientPixel(dialog, kPreviewTileProbe) == kJapaneseSkinTile; }, 5000))
        << "the preview: " << ClientPixel(dialog, kPreviewTileProbe);
    PostButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));

    const std::string expected =
        Settings("skin=" + Utf8(kJapaneseSkin) + "\r\nenwinamp=0\r\nenwmp=0\r\nenmedia=0\r\n");
    EXPECT_TRUE(WaitUntil([&] { return install.ReadSettings() == expected; }))
        << install.ReadSettings().value_or("(no file)");
    // The new skin comes up on its own.
    ASSERT_TRUE(WaitUntil([&] { return WindowBox(main) == kPopupAtRest; })) << WindowBox(main);
    EXPECT_TRUE(PopupTileBecomes(kJapaneseSkinTile))
        << ScreenPixel(kPopupTileProbe.x, kPopupTileProbe.y);
}

} // namespace
