// The Windows Media Player source, end to end: a visible "Windows Media
// Player" window made by the driver brings the program's hidden "ActiveX"
// host, whose control is the fake one (registered for the player control's
// class while each test runs) playing what the driver writes.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/MediaPlayerWindow.h"
#include "support/Mouse.h"
#include "support/PopupFace.h"
#include "support/PopupPlace.h"
#include "support/Session.h"

#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace e2e;
using Lines = std::vector<std::string>;

namespace {

constexpr long kPlaying = 3, kPaused = 2, kStopped = 1;

std::string Settings(bool winamp, bool mediaPlayer) {
    return std::string("[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=") + (winamp ? "1" : "0") +
           "\r\nenwmp=" + (mediaPlayer ? "1" : "0") + "\r\n";
}

// The pop-up's text for a track of the media player.
std::string MediaText(const std::string& author, const std::string& name) {
    return author + "\n" + name + "\nWindows Media Player";
}

size_t CountOf(const Lines& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// One program with the fake control as the player's: the registration, the
// driver and the player's window live as long as the test.
class MediaPlayerEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_registration.Active()) << "could not register the fake control";
        ASSERT_NE(m_player.Get(), nullptr);
    }

    // Starts the program.
    void Start(bool winamp = false, bool mediaPlayer = true) {
        m_session = std::make_unique<Session>(Settings(winamp, mediaPlayer));
    }

    RunningProgram& Program() { return m_session->Program(); }

    // The pop-up at rest showing the text in the default skin.
    testing::AssertionResult Shows(const std::string& text, const std::string& artifact) {
        return ShowsFace(m_session->Main(),
                         PopupFace(m_session->Install(), DefaultSkinLook(),
                                   RestingWidthInShippedFont(text), text),
                         artifact);
    }

    CFakeWmpRegistration m_registration;
    CFakeWmpDriver m_driver;
    MediaPlayerWindow m_player;
    std::unique_ptr<Session> m_session;
};

} // namespace

TEST_F(MediaPlayerEndToEnd, PlayingMediaShowsAuthorNameAndThePlayer) {
    const std::string author = "The Example Band";
    const std::string name = "A Song Whose Name Is Long Enough To Widen The Pop-up";
    m_driver.SetMedia(kPlaying, author, name);
    Start();
    ASSERT_TRUE(Program().TickPoll());

    const std::string text = MediaText(author, name);
    ASSERT_GT(RestingWidthInShippedFont(text), kPopupAtRest.width)
        << "the text should decide the width";
    EXPECT_TRUE(Shows(text, "media-player-track"));
    HWND host = PlayerHostWindow(Program());
    ASSERT_NE(host, nullptr) << "no hidden ActiveX host";
    EXPECT_FALSE(IsWindowVisible(host));
    EXPECT_EQ(m_driver.LogLines(), Lines{"remote"}) << "the control was embedded in remote mode";
    m_session->Exit();
    EXPECT_EQ(m_driver.LogLines(), (Lines{"remote", "released"})) << "Exit released the control";
}

TEST_F(MediaPlayerEndToEnd, MediaWithoutAuthorHasAnEmptyFirstLine) {
    const std::string name = "Nameless Author, Named Song, Long Enough For A Wider Pop-up";
    m_driver.SetMedia(kPlaying, std::nullopt, name);
    Start();
    ASSERT_TRUE(Program().TickPoll());
    EXPECT_TRUE(Shows(MediaText("", name), "media-player-no-author"));
}

TEST_F(MediaPlayerEndToEnd, PausedOrStoppedIsNotReadAndTheSameMediaShowsNothing) {
    const std::string author = "Paused Artist";
    const std::string name = "A Paused Song With A Name Long Enough To Widen The Pop-up";
    m_driver.SetMedia(kPaused, author, name);
    Start();

    // The host is made, but nothing paused or stopped is shown.
    EXPECT_TRUE(m_session->PollShowsNothing());
    EXPECT_NE(PlayerHostWindow(Program()), nullptr);
    m_driver.SetMedia(kStopped, author, name);
    EXPECT_TRUE(m_session->PollShowsNothing());

    m_driver.SetMedia(kPlaying, author, name);
    ASSERT_TRUE(Program().TickPoll());
    const int width = RestingWidthInShippedFont(MediaText(author, name));
    ASSERT_EQ(m_session->WaitForRest(width), width) << WindowBox(m_session->Main());
    ASSERT_TRUE(m_session->WaitUntilStill());

    // Paused and playing again: the same text is no news, so nothing moves.
    m_driver.SetMedia(kPaused, author, name);
    EXPECT_TRUE(m_session->PollShowsNothing());
    m_driver.SetMedia(kPlaying, author, name);
    EXPECT_TRUE(m_session->PollShowsNothing());
}

TEST_F(MediaPlayerEndToEnd, PreviousAndNextReachTheControl) {
    m_driver.SetMedia(kPlaying, "Button Artist", "A Song To Skip");
    Start();
    ASSERT_TRUE(Program().TickPoll());
    const int width = RestingWidthInShippedFont(MediaText("Button Artist", "A Song To Skip"));
    ASSERT_EQ(m_session->WaitForRest(width), width) << WindowBox(m_session->Main());

    ASSERT_TRUE(SendClick(m_session->Main(), POINT{width - 14, 14}));
    ASSERT_TRUE(SendClick(m_session->Main(), POINT{width - 14, 33}));
    EXPECT_EQ(m_driver.LogLines(), (Lines{"remote", "previous", "next"}));
}

TEST_F(MediaPlayerEndToEnd, HidingOrClosingThePlayerDestroysTheHost) {
    Start();
    ASSERT_TRUE(Program().TickPoll());
    ASSERT_NE(PlayerHostWindow(Program()), nullptr);
    // The control is embedded a moment after its host window appears.
    EXPECT_TRUE(WaitUntil([&] { return m_driver.LogLines() == Lines{"remote"}; }))
        << testing::PrintToString(m_driver.LogLines());

    m_player.Show(false);
    ASSERT_TRUE(Program().TickPoll());
    EXPECT_EQ(PlayerHostWindow(Program()), nullptr)
        << "the host outlived the player's hidden window";
    EXPECT_EQ(CountOf(m_driver.LogLines(), "released"), 1u);

    m_player.Show(true);
    ASSERT_TRUE(Program().TickPoll());
    EXPECT_NE(PlayerHostWindow(Program()), nullptr) << "no new host for the player's window";
    EXPECT_TRUE(WaitUntil([&] { return CountOf(m_driver.LogLines(), "remote") == 2; }));

    m_player.Close();
    ASSERT_TRUE(Program().TickPoll());
    EXPECT_EQ(PlayerHostWindow(Program()), nullptr);
    EXPECT_EQ(CountOf(m_driver.LogLines(), "released"), 2u);
}

TEST_F(MediaPlayerEndToEnd, SwitchedOffMakesNoHost) {
    m_driver.SetMedia(kPlaying, "Unwatched Artist", "A Song Nobody Should See");
    Start(false, false);
    EXPECT_TRUE(m_session->PollShowsNothing());
    EXPECT_EQ(PlayerHostWindow(Program()), nullptr);
    EXPECT_EQ(m_driver.LogLines(), Lines{}) << "the control was never made";
}

TEST_F(MediaPlayerEndToEnd, BothPlayersInOneTickShowWinampFirst) {
    // Both players have a new track before the program's first poll, so both
    // changes are there in the same tick, whatever the machine's speed.
    const std::string author = "Second Artist";
    const std::string name = "The Media Player's Song, Long Enough For A Wider Pop-up";
    const Box winampRest = PopupAtRest(RestingWidthInShippedFont("Short\nTune\nWinamp"));
    const Box mediaRest = PopupAtRest(RestingWidthInShippedFont(MediaText(author, name)));
    ASSERT_NE(winampRest, mediaRest);
    m_driver.SetMedia(kPlaying, author, name);
    FakeWinamp winamp("1. Short - Tune - Winamp");
    // Started here, not by a session, so the trace begins before the first
    // poll: it comes 300 ms after start, and the show takes far longer.
    TestInstall install(Settings(true, true));
    RunningProgram program(install);
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    GeometryTrace trace(main);
    ASSERT_TRUE(trace.RecordUntil([&](const Box& box) { return box == mediaRest; }, kGenerousMs))
        << Describe(trace.Boxes());
    ASSERT_TRUE(WaitUntil([&] { return program.AnimationThreads() == 0; }));
    EXPECT_EQ(WindowBox(main), mediaRest) << "the later report stays shown";

    // Winamp's track came first: the pop-up grew in for it, then switched,
    // shrinking before it grew to the media player's width.
    const std::vector<Box>& boxes = trace.Boxes();
    const auto firstMedia = std::find(boxes.begin(), boxes.end(), mediaRest);
    const auto shrink = std::adjacent_find(
        boxes.begin(), firstMedia, [](const Box& a, const Box& b) { return b.width < a.width; });
    EXPECT_NE(shrink, firstMedia) << "no switch from a first track: " << Describe(boxes);
    EXPECT_TRUE(std::all_of(boxes.begin(), shrink,
                            [&](const Box& box) { return box.width <= winampRest.width; }))
        << "the first growth was not Winamp's: " << Describe(boxes);
    ExitCleanly(program);
}
