// The player choices of the Preferences dialog take effect when OK is
// pressed, without a restart: a ticked player is watched from then on, an
// unticked media player's control is let go of at once.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/MediaPlayerWindow.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"
#include "support/TextMeasure.h"

#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

constexpr int kWinampBox = 1014;
constexpr int kMediaPlayerBox = 1015;
constexpr long kPlaying = 3;
constexpr char kPlayerLine[] = "Windows Media Player"; // the last line of its tracks
const Rgb kTile{24, 40, 96};
constexpr char kFlatColours[] = "text=0000E6FF\r\nborder=0000FF00\r\n";

std::string Settings(bool winamp, bool mediaPlayer) {
    return std::string("[PREFERENCES]\r\nskin=Flat\r\nenwinamp=") + (winamp ? "1" : "0") +
           "\r\nenwmp=" + (mediaPlayer ? "1" : "0") + "\r\n\r\n";
}

// A started program in a flat skin, with the cursor and Wine's tray window
// out of the pop-up's way.
struct Session {
    TestInstall install;
    std::optional<RunningProgram> program;
    HWND main = nullptr;

    explicit Session(const std::string& settings) : install(settings) {
        AddFlatSkin(install, "Flat", kTile, kFlatColours);
        program.emplace(install);
        main = program->WaitForMainWindow();
        WaitUntil(MoveWineSystemTrayAway, 3000);
        ParkCursor();
    }

    // A poll tick, sent: when it returns, the program has asked the players.
    bool Poll() const {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutA(main, WM_TIMER, 0, 0, SMTO_NORMAL, kGenerousMs, &ignored) != 0;
    }

    // Opens Preferences, clicks the player's box and presses OK; true when
    // the box then showed `ticked` and the dialog closed.
    bool SetPlayer(int box, bool ticked) const {
        program->PostCommand(kCommandPreferences);
        HWND dialog = program->WaitForDialog("Preferences");
        if (!dialog)
            return false;
        HWND button = GetDlgItem(dialog, box);
        SendMessageW(button, BM_CLICK, 0, 0);
        const UINT wanted = ticked ? BST_CHECKED : BST_UNCHECKED;
        const bool clicked = static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0)) == wanted;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return WaitUntil([&] { return !IsWindow(dialog); }) && clicked;
    }
};

// Whole 45-pixel tiles plus the frame, never fewer than seven.
int PopupWidth(const std::string& text) {
    const RECT measured = MeasureText(text);
    const int width = measured.right - measured.left;
    return width + 45 <= 317 ? 317 : ((width + 42) / 45) * 45 + 47;
}

bool WaitForRest(HWND main, const std::string& text) {
    return WaitUntil([&] { return WindowBox(main) == PopupAtRest(PopupWidth(text)); });
}

size_t CountOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

} // namespace

TEST(Choices, TickingWinampInPreferencesWatchesItAtOnce) {
    // With the full-screen switch, which has no place in the dialog: OK keeps it.
    Session session("[PREFERENCES]\r\nskin=Flat\r\nenwinamp=0\r\nenwmp=0\r\nfullscreen=1\r\n\r\n");
    ASSERT_NE(session.main, nullptr);
    FakeWinamp winamp("1. Unwatched Artist - Unwatched Song - Winamp");
    GeometryTrace trace(session.main);
    ASSERT_TRUE(session.Poll());
    trace.RecordFor(800);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{(Box{0, 0, 0, 0})}) << "Winamp is not watched yet";

    ASSERT_TRUE(session.SetPlayer(kWinampBox, true));
    const std::string stored =
        "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\nfullscreen=1\r\n\r\n";
    EXPECT_TRUE(WaitUntil([&] { return session.install.ReadSettings() == stored; }))
        << session.install.ReadSettings().value_or("(no file)");

    // Watched now: its next track comes up, no restart needed.
    const std::string next = "A Watched Artist With A Name Long Enough For Eight Tiles\n"
                             "And The Next Song On The List\nWinamp";
    ASSERT_GT(PopupWidth(next), 317);
    winamp.SetTitle("2. A Watched Artist With A Name Long Enough For Eight Tiles - "
                    "And The Next Song On The List - Winamp");
    EXPECT_TRUE(WaitForRest(session.main, next)) << WindowBox(session.main);

    ExitCleanly(*session.program);
}

TEST(Choices, UntickingTheMediaPlayerLetsGoOfItsControlAtOnceAndTickingItWatchesItAgain) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active()) << "could not register the fake control";
    CFakeWmpDriver player;
    MediaPlayerWindow playerWindow;
    player.SetMedia(kPlaying, "First Author", "First Name");
    Session session(Settings(false, true));
    ASSERT_NE(session.main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(*session.program) != nullptr; }))
        << "the control was never hosted";

    // Unticked: the host goes and the control is released, as when the
    // player's window goes; polls make no new one.
    ASSERT_TRUE(session.SetPlayer(kMediaPlayerBox, false));
    EXPECT_TRUE(WaitUntil([&] { return PlayerHostWindow(*session.program) == nullptr; }));
    EXPECT_EQ(CountOf(player.LogLines(), "released"), 1u);
    player.SetMedia(kPlaying, "Second Author", "Second Name");
    ASSERT_TRUE(session.Poll());
    EXPECT_EQ(PlayerHostWindow(*session.program), nullptr);
    EXPECT_EQ(CountOf(player.LogLines(), "remote"), 1u);

    // Ticked again: the control is hosted again and its next media shows.
    ASSERT_TRUE(session.SetPlayer(kMediaPlayerBox, true));
    EXPECT_TRUE(WaitUntil([&] { return PlayerHostWindow(*session.program) != nullptr; }));
    const std::string third = std::string("A Third Author Whose Name Needs A Wider Pop-up\n") +
                              "And A Third Name To Go With It\n" + kPlayerLine;
    ASSERT_GT(PopupWidth(third), 317);
    player.SetMedia(kPlaying, "A Third Author Whose Name Needs A Wider Pop-up",
                    "And A Third Name To Go With It");
    EXPECT_TRUE(WaitForRest(session.main, third)) << WindowBox(session.main);

    ExitCleanly(*session.program);
}
