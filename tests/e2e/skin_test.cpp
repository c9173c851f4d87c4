// The skins of the running program, read off the screen: a track in the
// default skin (saved as a screenshot), the other shipped skins, and broken
// skins, with which the pop-up still comes up showing what loaded, nothing
// else appears, and a good skin chosen afterwards shows as it should.
//
// The expected face of the pop-up is built here from the skin's own files:
// frame in the border colour written down below, tiles and buttons copied
// pixel for pixel from the bitmaps. Every kind of broken file is loaded in
// the Windows-level skin tests; here the whole program meets two of them.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/PopupFace.h"
#include "support/PopupPlace.h"
#include "support/Session.h"
#include "support/SkinList.h"
#include "support/TestBytes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

using namespace e2e;

namespace {

// The program's windows that show, but for its main window (a message box
// would be one).
testing::AssertionResult ShowsNothingElse(const RunningProgram& program) {
    for (const WindowInfo& info : program.Windows()) {
        if (info.visible && info.window != program.MainWindow())
            return testing::AssertionFailure()
                   << "a window \"" << info.title << "\" of class " << info.className << " shows";
    }
    return testing::AssertionSuccess();
}

std::string ShotName(const std::string& skin) {
    std::string shot = "skin-" + skin;
    for (char& c : shot)
        c = c == ' ' ? '-' : static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return shot;
}

} // namespace

TEST(Skins, ATrackInTheDefaultSkin) {
    Session session("[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n");
    FakeWinamp winamp("7. The Lanterns - Northern Lights - Winamp");
    ASSERT_TRUE(session.Program().TickPoll());
    const std::string text = "The Lanterns\nNorthern Lights\nWinamp";
    EXPECT_TRUE(ShowsFace(
        session.Main(),
        PopupFace(session.Install(), DefaultSkinLook(), RestingWidthInShippedFont(text), text),
        "skin-default-with-track"));
    SaveScreenshot("skin-default-with-track",
                   RECT{0, 0, kPopupAtRest.Right() + 64, kPopupAtRest.Bottom() + 32});
}

struct ShippedSkinLook {
    const char* name;
    SkinLook look; // as its definition describes it: colours are blue, green, red
};

void PrintTo(const ShippedSkinLook& skin, std::ostream* out) {
    *out << skin.name;
}

class ShippedSkin : public testing::TestWithParam<ShippedSkinLook> {};

TEST_P(ShippedSkin, LooksAsItsFiles) {
    const ShippedSkinLook& skin = GetParam();
    Session session("[PREFERENCES]\r\nskin=" + std::string(skin.name) + "\r\n");
    session.Program().PostCommand(kCommandToggle);
    EXPECT_TRUE(ShowsFace(session.Main(), PopupFace(session.Install(), skin.look, 317),
                          ShotName(skin.name)));
    SaveScreenshot(ShotName(skin.name),
                   RECT{0, 0, kPopupAtRest.Right() + 32, kPopupAtRest.Bottom() + 32});
}

INSTANTIATE_TEST_SUITE_P(
    Interface, ShippedSkin,
    testing::Values(ShippedSkinLook{"Aurora",
                                    {"aurora_mid.bmp", "aurora_left.bmp", "aurora_right.bmp",
                                     "aurora_", Rgb{0xE6, 0xFF, 0xF4}, Rgb{0x03, 0x06, 0x0C}}},
                    ShippedSkinLook{"Paper",
                                    {"paper\\paper.bmp", "", "", "paper\\", Rgb{0x2A, 0x26, 0x22},
                                     Rgb{0xA9, 0x9D, 0x85}}}),
    [](const testing::TestParamInfo<ShippedSkinLook>& param) { return param.param.name; });

// --- Broken skins ------------------------------------------------------------

struct BrokenSkin {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files; // in the skin folder
    Rgb border;                                             // what the frame shows
};

void PrintTo(const BrokenSkin& skin, std::ostream* out) {
    *out << skin.name;
}

class BrokenSkinOnScreen : public testing::TestWithParam<BrokenSkin> {};

TEST_P(BrokenSkinOnScreen, ThePopupShowsWhatLoadedAndAGoodSkinAfterwards) {
    const BrokenSkin& broken = GetParam();
    Session session("[PREFERENCES]\r\nskin=Broken\r\nenwinamp=1\r\nenwmp=0\r\n",
                    [&](const TestInstall& install) {
                        InstallFlatSkin(install);
                        for (const auto& [name, bytes] : broken.files)
                            WriteFileBytes(JoinPath(install.SkinFolder(), name), bytes);
                    });
    EXPECT_TRUE(ShowsNothingElse(session.Program()));

    // The frame and the buttons (the default ones in the skin folder) loaded.
    FakeWinamp winamp("1. Skinless - Still Laid Out - Winamp");
    ASSERT_TRUE(session.Program().TickPoll());
    const std::string text = "Skinless\nStill Laid Out\nWinamp";
    const int width = RestingWidthInShippedFont(text);
    const SkinLook whatLoaded{"", "", "", "", Rgb{}, broken.border};
    EXPECT_TRUE(ShowsFace(session.Main(), PopupFace(session.Install(), whatLoaded, width),
                          std::string("broken-skin-") + broken.name));
    EXPECT_TRUE(ShowsNothingElse(session.Program()));

    ASSERT_TRUE(ChooseSkinWithPreferences(session.Program(), kFlatSkin));
    EXPECT_TRUE(ShowsFace(session.Main(), PopupFace(session.Install(), FlatLook(), width, text),
                          std::string("broken-skin-then-flat-") + broken.name));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenSkinOnScreen,
    testing::Values(BrokenSkin{"MissingBitmaps",
                               {{"Broken.ini",
                                 "[SKIN]\r\nimage=gone.bmp\r\nbgtype=1\r\nimagel=gone.bmp\r\n"
                                 "imager=gone.bmp\r\nborder=0000FF00\r\n"}},
                               Rgb{0, 255, 0}},
                    BrokenSkin{"GarbageDefinition",
                               {{"Broken.ini", testbytes::RandomBytes(32 * 1024, 42)}},
                               Rgb{0, 0, 0}}),
    [](const testing::TestParamInfo<BrokenSkin>& param) { return std::string(param.param.name); });
