// A first start that explains itself, and player choices that apply at once:
// the tray icon's balloon when the program has just made its settings file,
// and Preferences -> OK watching a ticked player from then on, or letting go
// of an unticked media player's control, without a restart.
#include "support/E2e.h"
#include "support/MediaPlayerWindow.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"
#include "support/Session.h"

#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

using namespace e2e;

namespace {

[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

// A balloon the shell shows now (under Wine a balloon tool tip of the
// shell's own process), or null.
HWND ShellBalloon() {
    struct Search {
        DWORD shell = 0;
        HWND found = nullptr;
    } search;
    GetWindowThreadProcessId(FindWindowA("Shell_TrayWnd", nullptr), &search.shell);
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            const WindowInfo info = DescribeWindow(window);
            if (owner == s->shell && info.className == "tooltips_class32" && info.visible &&
                (info.style & TTS_BALLOON))
                s->found = window;
            return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Opens Preferences, clicks the player's box and presses OK; true when the
// box then showed `wanted` and the dialog closed.
bool SetPlayer(const RunningProgram& program, int box, UINT wanted) {
    program.PostCommand(kCommandPreferences);
    HWND dialog = program.WaitForDialog("Preferences");
    HWND button = GetDlgItem(dialog, box);
    SendMessageW(button, BM_CLICK, 0, 0);
    const bool clicked = static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0)) == wanted;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return dialog && clicked && WaitUntil([&] { return !IsWindow(dialog); });
}

constexpr int kWinampBox = 1014, kMediaPlayerBox = 1015;

} // namespace

TEST(FirstStart, ABalloonSaysWhatToDoAndATickedPlayerIsWatchedAtOnce) {
    // Wine makes its shell tray with the first icon of the session, so the
    // tray may come up only with the program's.
    ASSERT_TRUE(WaitUntil([] { return ShellBalloon() == nullptr; }))
        << "a balloon of an earlier program is still up";
    FakeWinamp winamp("1. Unwatched Artist - Unwatched Song - Winamp");
    Session session(std::nullopt);
    const RunningProgram& program = session.Program();
    EXPECT_TRUE(WaitUntil([] { return ShellBalloon() != nullptr; })) << "no balloon";
    EXPECT_TRUE(session.PollShowsNothing()) << "no player is watched yet";

    ASSERT_TRUE(SetPlayer(program, kWinampBox, BST_CHECKED));
    const std::string next = "A Watched Artist With A Name Long Enough For Eight Tiles\n"
                             "And The Next Song On The List\nWinamp";
    ASSERT_GT(RestingWidth(next), 317);
    winamp.SetTitle("2. A Watched Artist With A Name Long Enough For Eight Tiles - "
                    "And The Next Song On The List - Winamp");
    EXPECT_GT(session.WaitForRest(RestingWidth(next)), 0) << WindowBox(session.Main());
}

TEST(FirstStart, AnUntickedMediaPlayerIsLetGoOfAtOnceAndATickedOneWatchedAgain) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active()) << "could not register the fake control";
    CFakeWmpDriver player;
    MediaPlayerWindow playerWindow;
    player.SetMedia(3, "First Author", "First Name"); // playing
    Session session("[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=0\r\nenwmp=1\r\n");
    const RunningProgram& program = session.Program();
    ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(program) != nullptr; }));

    // Unticked: the host goes and the control is released, as when the
    // player's window goes; a poll makes no new one.
    ASSERT_TRUE(SetPlayer(program, kMediaPlayerBox, BST_UNCHECKED));
    EXPECT_TRUE(WaitUntil([&] { return PlayerHostWindow(program) == nullptr; }));
    const auto count = [&](const char* line) {
        const std::vector<std::string> lines = player.LogLines();
        return std::count(lines.begin(), lines.end(), line);
    };
    EXPECT_EQ(count("released"), 1);
    ASSERT_TRUE(program.TickPoll());
    EXPECT_EQ(PlayerHostWindow(program), nullptr);

    // Ticked again: hosted again at the next poll.
    ASSERT_TRUE(SetPlayer(program, kMediaPlayerBox, BST_CHECKED));
    EXPECT_TRUE(WaitUntil([&] { return PlayerHostWindow(program) != nullptr; }));
    EXPECT_EQ(count("remote"), 2);
}
