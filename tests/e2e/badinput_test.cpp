// Whatever a user's machine presents, the running program neither crashes
// nor hangs nor loses its settings file, and afterwards the pop-up still
// comes in and shows what it should: hostile settings files, player titles
// far longer than its texts, no file that can be made beside the program, a
// refused temporary file for a save, and media player controls that fail.
//
// "Shows what it should" is checked on the screen: the pop-up rests at
// (64, 32) with the width its text needs, and every pixel of its face equals
// the same skin and text drawn here.
//
// What one file or control breaks is proven in the Windows-level tests
// (broken skin files, refused threads, failing controls); here the whole
// program meets the input as a user's machine would hand it over.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/MediaPlayerWindow.h"
#include "support/PopupFace.h"
#include "support/PopupPlace.h"
#include "support/Session.h"
#include "support/SkinList.h"
#include "support/TestBytes.h"

#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace e2e;

namespace {

const std::string kFlatWinamp = "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n";

testing::AssertionResult Shows(Session& session, const SkinLook& look, const std::string& text,
                               const std::string& artifact) {
    return ShowsFace(
        session.Main(),
        PopupFace(session.Install(), look,
                  look.shippedFont ? RestingWidthInShippedFont(text) : RestingWidth(text), text),
        artifact);
}

// Visible windows of the program besides the pop-up: a message box would
// be one.
std::vector<std::string> OtherVisibleWindows(const RunningProgram& program) {
    std::vector<std::string> others;
    for (const WindowInfo& info : program.Windows()) {
        if (info.visible && info.window != program.MainWindow()) {
            others.push_back(info.className + " \"" + info.title + "\"");
        }
    }
    return others;
}

} // namespace

// ---------------------------------------------------------------------------
// Settings files

struct HostileSettings {
    const char* name;
    std::string bytes;
    bool namesFlatAndWinamp; // the PREFERENCES of kFlatWinamp survive in it
};

void PrintTo(const HostileSettings& settings, std::ostream* out) {
    *out << settings.name;
}

class BadSettings : public testing::TestWithParam<HostileSettings> {};

TEST_P(BadSettings, ThePopupStillShowsCorrectly) {
    const HostileSettings& settings = GetParam();
    Session session(settings.bytes, InstallFlatSkin);
    EXPECT_EQ(OtherVisibleWindows(session.Program()), std::vector<std::string>{}) << "no message";

    if (settings.namesFlatAndWinamp) {
        // What followed or surrounded the garbage still counts: the skin and
        // the Winamp switch.
        FakeWinamp winamp("4. Still Here - After The Garbage - Winamp");
        ASSERT_TRUE(session.Program().TickPoll());
        EXPECT_TRUE(Shows(session, FlatLook(), "Still Here\nAfter The Garbage\nWinamp",
                          std::string("bad-settings-") + settings.name));
        session.Exit();
        EXPECT_EQ(session.Install().ReadSettings(), settings.bytes) << "nothing was to be saved";
    } else {
        // Nothing readable: the default skin and no player; the toggle
        // shows the empty pop-up.
        session.Program().PostCommand(kCommandToggle);
        EXPECT_TRUE(
            Shows(session, DefaultSkinLook(), "", std::string("bad-settings-") + settings.name));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadSettings,
    testing::Values(
        HostileSettings{"RandomBytes2MB", testbytes::RandomBytes(2 * 1024 * 1024, 20240601), false},
        // A header line of 100 KB before the settings, a line of 100 KB
        // without a line end and 2 MB of random bytes after them.
        HostileSettings{"GarbageAroundTheSettings",
                        "[" + std::string(100 * 1024, 'P') + "]\r\n" + kFlatWinamp +
                            "notes=" + std::string(100 * 1024, 'x') + "\r\n" +
                            testbytes::RandomBytes(2 * 1024 * 1024, 7),
                        true},
        HostileSettings{
            "NulBytes",
            testbytes::Bytes("\0\0\0\r\n[PREFERENCES]\r\nskin=Flat\r\n\0\0\0\r\nenwinamp=1\0off"
                             "\r\nsk\0in=Nowhere\r\nenwmp=0\r\n\0"),
            true}),
    [](const testing::TestParamInfo<HostileSettings>& param) { return param.param.name; });

// ---------------------------------------------------------------------------
// Players

TEST(BadPlayers, WinampTitlesLongerThan255BytesAreCut) {
    Session session(kFlatWinamp, InstallFlatSkin);
    FakeWinamp winamp("Winamp 5.9");

    // Cut in the middle of the second part, keeping the player's ending
    // (3 + 130 + 3 bytes, 110 of the second part and " - Winamp" make 255),
    // and far beyond any buffer.
    winamp.SetTitle("1. " + std::string(130, 'a') + " - " + std::string(130, 'b') + " - Winamp");
    ASSERT_TRUE(session.Program().TickPoll());
    EXPECT_TRUE(Shows(session, FlatLook(),
                      std::string(130, 'a') + "\n" + std::string(110, 'b') + "\nWinamp",
                      "long-winamp-title"));
    winamp.SetTitle("2. " + std::string(60, 'c') + " - " + std::string(100000, 'd') + " - Winamp");
    ASSERT_TRUE(session.Program().TickPoll());
    EXPECT_TRUE(Shows(session, FlatLook(),
                      std::string(60, 'c') + "\n" + std::string(180, 'd') + "\nWinamp",
                      "longer-winamp-title"));
}

// ---------------------------------------------------------------------------
// Faults of the platform

TEST(Faults, NoFileCanBeMadeBesideTheProgram) {
    // As if the folder were read-only: the settings file cannot be opened
    // or created (a folder holds its name) and a save's temporary file
    // cannot be made either. (A read-only attribute would not stop an
    // administrator, nor Wine running as root.)
    Session session(std::nullopt, [](const TestInstall& install) {
        CreateDirectoryA(install.SettingsPath().c_str(), nullptr);
        CreateDirectoryA((install.SettingsPath() + ".tmp").c_str(), nullptr);
    });

    // Defaults, and no message about it: the default skin, no player.
    EXPECT_EQ(OtherVisibleWindows(session.Program()), std::vector<std::string>{});
    session.Program().PostCommand(kCommandToggle);
    EXPECT_TRUE(Shows(session, DefaultSkinLook(), "", "no-files-default-popup"));
    session.Exit();
    EXPECT_TRUE(GetFileAttributesA(session.Install().SettingsPath().c_str()) &
                FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Faults, ARefusedTemporaryFileLeavesTheSettingsFileAlone) {
    const std::string settings = kFlatWinamp + "[Mine]\r\nkept=yes\r\n\r\n";
    // The save's temporary file cannot be made where a folder holds its name.
    std::string temporary;
    Session session(settings, [&](const TestInstall& install) {
        InstallFlatSkin(install);
        temporary = install.SettingsPath() + ".tmp";
        CreateDirectoryA(temporary.c_str(), nullptr);
    });
    FakeWinamp winamp("1. Saved - Or Not - Winamp");
    ASSERT_TRUE(session.Program().TickPoll());
    const std::string text = "Saved\nOr Not\nWinamp";
    ASSERT_TRUE(Shows(session, FlatLook(), text, "refused-save-before"));

    // OK saves: the save fails, the file stays as it was, and the new skin
    // is worn all the same.
    ASSERT_TRUE(ChooseSkinWithPreferences(session.Program(), "Default Skin 1"));
    EXPECT_TRUE(Shows(session, DefaultSkinLook(), text, "refused-save-after"));
    EXPECT_EQ(OtherVisibleWindows(session.Program()), std::vector<std::string>{});
    EXPECT_EQ(session.Install().ReadSettings(), settings);
    session.Exit();
    EXPECT_EQ(session.Install().ReadSettings(), settings);
    EXPECT_TRUE(GetFileAttributesA(temporary.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// The media player source with a control that fails, beside Winamp: Wine's
// own control (its play state and commands are not implemented) and one
// that cannot be loaded. Polls with it show nothing, and Winamp's track
// still shows.
class FailingControl : public testing::Test {
  protected:
    void ExpectNothingFromThePlayerButWinampShows(bool controlEmbedded) {
        Session session("[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=1\r\n", InstallFlatSkin);
        RunningProgram& program = session.Program();
        ASSERT_TRUE(program.TickPoll());
        ASSERT_NE(PlayerHostWindow(program), nullptr) << "no host for the player's window";
        // The host made the control's place (so it tried), which holds the
        // control's window once it was made.
        const HWND place = FindWindowExA(PlayerHostWindow(program), nullptr, "AtlAxWin7", nullptr);
        ASSERT_NE(place, nullptr) << "the host never tried to make the control";
        const auto embedded = [&] { return FindWindowExA(place, nullptr, nullptr, nullptr); };
        if (controlEmbedded) {
            EXPECT_TRUE(WaitUntil([&] { return embedded() != nullptr; }));
        }
        for (int i = 0; i < 5; ++i) {
            EXPECT_TRUE(session.PollShowsNothing()) << "the failing player showed something";
        }
        EXPECT_EQ(embedded() != nullptr, controlEmbedded);
        m_winamp.SetTitle("1. Beside - A Failing Player - Winamp");
        ASSERT_TRUE(program.TickPoll());
        EXPECT_TRUE(
            Shows(session, FlatLook(), "Beside\nA Failing Player\nWinamp", "failing-control"));
        m_player.Close();
        ASSERT_TRUE(program.TickPoll());
        EXPECT_EQ(PlayerHostWindow(program), nullptr);
    }

    FakeWinamp m_winamp{"Winamp 5.9"};
    MediaPlayerWindow m_player;
};

TEST_F(FailingControl, WinesOwnControlFailsItsCalls) {
    CWineWmpRegistration wineControl;
    ASSERT_TRUE(wineControl.Active());
    ExpectNothingFromThePlayerButWinampShows(true);
}

TEST_F(FailingControl, TheControlCannotBeLoaded) {
    CFakeWmpRegistration broken("C:\\no such folder\\fakewmp.dll");
    ASSERT_TRUE(broken.Active());
    ExpectNothingFromThePlayerButWinampShows(false);
}
