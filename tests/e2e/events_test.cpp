// Players that announce their changes, and one that does not, end to end:
// a silent Winamp's track still comes up through the poll, and Exit is clean
// while a Winamp announces one title after another.
#include "support/E2e.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"
#include "support/Session.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// This program brings the pop-up up: it takes its turn on the screen.
[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

const std::string kWatchWinamp =
    "[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n\r\n";

std::string Title(int song) {
    return std::to_string(song % 90 + 1) + ". Artist - Song " + std::to_string(song) + " - Winamp";
}

} // namespace

TEST(Announcements, ASilentWinampIsSeenByThePoll) {
    Session session(kWatchWinamp);
    HWND main = session.Main();
    FakeWinamp winamp(Title(1), Renames::Silent);
    EXPECT_TRUE(WaitUntil([&] { return IsAtRest(WindowBox(main)); })) << WindowBox(main);
    winamp.SetTitle(Title(2));
    GeometryTrace trace(main);
    EXPECT_TRUE(trace.RecordUntil([](const Box& b) { return !IsAtRest(b); }, kGenerousMs));
    EXPECT_TRUE(trace.RecordUntil(IsAtRest, kGenerousMs)) << Describe(trace.Boxes());
}

TEST(Announcements, ExitWhileWinampAnnouncesTitleAfterTitle) {
    Session session(kWatchWinamp);
    RunningProgram& program = session.Program();
    HWND main = session.Main();
    FakeWinamp winamp(Title(1));
    ASSERT_TRUE(WaitUntil([&] { return IsAtRest(WindowBox(main)); })) << "not listening yet";
    program.PostCommand(kCommandExit);
    for (int song = 2; program.IsRunning() && song < 5000; ++song) {
        winamp.SetTitle(Title(song));
        PumpMessages();
    }
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0u));
}
