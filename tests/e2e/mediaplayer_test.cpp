// The Windows Media Player source, end to end: a visible "Windows Media
// Player" window made by the driver brings the program's hidden "ActiveX"
// host, whose control is the fake one (registered for the player control's
// class while each test runs) playing what the driver writes.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/MediaPlayerWindow.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/TextMeasure.h"

#include "core/PopupLayout.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;
using Lines = std::vector<std::string>;

namespace {

constexpr long kPlaying = 3, kPaused = 2, kStopped = 1;
// The pop-up's last line for a track of the media player.
constexpr char kPlayerName[] = "Windows Media Player";

std::string Settings(bool winamp, bool mediaPlayer) {
    return std::string("[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=") + (winamp ? "1" : "0") +
           "\r\nenwmp=" + (mediaPlayer ? "1" : "0") + "\r\n";
}

PopupLayout LayoutFor(const std::string& text) {
    const RECT rc = MeasureTextInShippedFont(text); // Default Skin 1's font
    return ComputePopupLayout(rc.right - rc.left);
}

Box RestingBox(const std::string& text) {
    return PopupAtRest(LayoutFor(text).layout.Width());
}

std::string MediaText(const std::string& author, const std::string& name) {
    return author + "\n" + name + "\n" + kPlayerName;
}

size_t CountOf(const Lines& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// Text-coloured pixels (Default Skin 1 draws its text in 0x00FFF2EE) on each
// of the three text lines of the resting pop-up, beside the button column.
std::vector<int> TextPixelsPerLine(const std::string& text) {
    const PopupLayout layout = LayoutFor(text);
    const int lineHeight = MeasureTextInShippedFont("Xg").bottom;
    const Rgb textColour = FromColorRef(0x00FFF2EE);
    std::vector<int> counts;
    for (int line = 0; line < 3; ++line) {
        const int top = kPopupAtRest.y + layout.text.top + line * lineHeight;
        const RECT band{kPopupAtRest.x + layout.text.left, top, kPopupAtRest.x + layout.prev.left,
                        top + lineHeight};
        counts.push_back(ScreenCapture(band).Count(textColour));
    }
    return counts;
}

// One program with the fake control as the player's: the registration, the
// driver and the player's window live as long as the test.
class MediaPlayerEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_registration.Active()) << "could not register the fake control";
        ASSERT_NE(m_player.Get(), nullptr);
        MoveWineSystemTrayAway();
    }

    // Starts the program and waits for its main window.
    HWND Start(bool winamp = false, bool mediaPlayer = true) {
        m_install = std::make_unique<TestInstall>(Settings(winamp, mediaPlayer));
        m_program = std::make_unique<RunningProgram>(*m_install);
        HWND main = m_program->WaitForMainWindow();
        MoveWineSystemTrayAway();
        return main;
    }

    bool WaitForRest(HWND main, const Box& box) {
        return WaitUntil([&] { return WindowBox(main) == box; });
    }

    CFakeWmpRegistration m_registration;
    CFakeWmpDriver m_driver;
    MediaPlayerWindow m_player;
    std::unique_ptr<TestInstall> m_install;
    std::unique_ptr<RunningProgram> m_program;
};

} // namespace

TEST_F(MediaPlayerEndToEnd, PlayingMediaShowsAuthorNameAndThePlayer) {
    const std::string author = "The Example Band";
    const std::string name = "A Song Whose Name Is Long Enough To Widen The Pop-up";
    m_driver.SetMedia(kPlaying, author, name);
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    const std::string text = MediaText(author, name);
    ASSERT_GT(RestingBox(text).width, kPopupAtRest.width) << "the text should decide the width";
    ASSERT_TRUE(WaitForRest(main, RestingBox(text))) << WindowBox(main);

    HWND host = PlayerHostWindow(*m_program);
    ASSERT_NE(host, nullptr) << "no hidden ActiveX host";
    EXPECT_FALSE(IsWindowVisible(host));
    EXPECT_EQ(m_driver.LogLines(), Lines{"remote"}) << "the control was embedded in remote mode";
    const std::vector<int> pixels = TextPixelsPerLine(text);
    for (int line = 0; line < 3; ++line)
        EXPECT_GT(pixels[line], 0) << "line " << line + 1 << " shows text";
    ExitCleanly(*m_program);
    EXPECT_EQ(m_driver.LogLines(), (Lines{"remote", "released"})) << "Exit released the control";
}

TEST_F(MediaPlayerEndToEnd, MediaWithoutAuthorHasAnEmptyFirstLine) {
    const std::string name = "Nameless Author, Named Song, Long Enough For A Wider Pop-up";
    m_driver.SetMedia(kPlaying, std::nullopt, name);
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    const std::string text = MediaText("", name);
    ASSERT_TRUE(WaitForRest(main, RestingBox(text))) << WindowBox(main);
    const std::vector<int> pixels = TextPixelsPerLine(text);
    EXPECT_EQ(pixels[0], 0) << "the first line is empty";
    EXPECT_GT(pixels[1], 0);
    EXPECT_GT(pixels[2], 0);
    ExitCleanly(*m_program);
}

TEST_F(MediaPlayerEndToEnd, PausedOrStoppedIsNotReadAndTheSameMediaShowsNothing) {
    const std::string author = "Paused Artist";
    const std::string name = "A Paused Song With A Name Long Enough To Widen The Pop-up";
    m_driver.SetMedia(kPaused, author, name);
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    // The host is made, but nothing paused or stopped is shown.
    ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(*m_program) != nullptr; }));
    GeometryTrace idle(main);
    idle.RecordFor(1500);
    m_driver.SetMedia(kStopped, author, name);
    idle.RecordFor(1500);
    EXPECT_EQ(idle.Boxes(), std::vector<Box>{(Box{0, 0, 0, 0})}) << Describe(idle.Boxes());

    const Box rest = RestingBox(MediaText(author, name));
    m_driver.SetMedia(kPlaying, author, name);
    ASSERT_TRUE(WaitForRest(main, rest)) << WindowBox(main);

    // Paused and playing again: the same text is no news, so nothing moves.
    m_driver.SetMedia(kPaused, author, name);
    PumpFor(1000);
    m_driver.SetMedia(kPlaying, author, name);
    GeometryTrace again(main);
    again.RecordFor(1500);
    EXPECT_EQ(again.Boxes(), std::vector<Box>{rest}) << Describe(again.Boxes());
    ExitCleanly(*m_program);
}

TEST_F(MediaPlayerEndToEnd, PreviousAndNextReachTheControl) {
    const std::string author = "Button Artist";
    const std::string name = "A Song To Skip, Long Enough To Make The Pop-up Wider";
    m_driver.SetMedia(kPlaying, author, name);
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    const std::string text = MediaText(author, name);
    ASSERT_TRUE(WaitForRest(main, RestingBox(text))) << WindowBox(main);

    const PopupLayout layout = LayoutFor(text);
    auto click = [&](const Rect& button) {
        PostClick(main, POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    };
    click(layout.prev);
    ASSERT_TRUE(WaitUntil([&] { return CountOf(m_driver.LogLines(), "previous") == 1; }));
    click(layout.next);
    ASSERT_TRUE(WaitUntil([&] { return CountOf(m_driver.LogLines(), "next") == 1; }));
    EXPECT_EQ(m_driver.LogLines(), (Lines{"remote", "previous", "next"}));
    ExitCleanly(*m_program);
}

TEST_F(MediaPlayerEndToEnd, HidingOrClosingThePlayerDestroysTheHost) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(*m_program) != nullptr; }));
    // The control is embedded a moment after its host window appears.
    EXPECT_TRUE(WaitUntil([&] { return m_driver.LogLines() == Lines{"remote"}; }))
        << testing::PrintToString(m_driver.LogLines());

    m_player.Show(false);
    ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(*m_program) == nullptr; }))
        << "the host outlived the player's hidden window";
    EXPECT_TRUE(WaitUntil([&] { return CountOf(m_driver.LogLines(), "released") == 1; }));

    m_player.Show(true);
    ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(*m_program) != nullptr; }))
        << "a new host for the player's window";
    EXPECT_TRUE(WaitUntil([&] { return CountOf(m_driver.LogLines(), "remote") == 2; }));

    m_player.Close();
    ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(*m_program) == nullptr; }));
    EXPECT_TRUE(WaitUntil([&] { return CountOf(m_driver.LogLines(), "released") == 2; }));
    EXPECT_TRUE(m_program->IsResponsive());
    ExitCleanly(*m_program);
}

TEST_F(MediaPlayerEndToEnd, SwitchedOffMakesNoHost) {
    m_driver.SetMedia(kPlaying, "Unwatched Artist", "A Song Nobody Should See");
    HWND main = Start(false, false);
    ASSERT_NE(main, nullptr);
    GeometryTrace trace(main);
    trace.RecordFor(2000);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{(Box{0, 0, 0, 0})}) << Describe(trace.Boxes());
    EXPECT_EQ(PlayerHostWindow(*m_program), nullptr);
    EXPECT_EQ(m_driver.LogLines(), Lines{}) << "the control was never made";
    ExitCleanly(*m_program);
}

TEST_F(MediaPlayerEndToEnd, BothPlayersInOneTickShowWinampFirst) {
    // Both players have a new track before the program's first poll, so both
    // changes are there in the same tick, whatever the machine's speed.
    const std::string author = "Second Artist";
    const std::string name = "The Media Player's Song, Long Enough For A Wider Pop-up";
    const Box winampRest = RestingBox("Short\nTune\nWinamp");
    const Box mediaRest = RestingBox(MediaText(author, name));
    ASSERT_NE(winampRest, mediaRest);
    m_driver.SetMedia(kPlaying, author, name);
    FakeWinamp winamp("1. Short - Tune - Winamp");
    m_install = std::make_unique<TestInstall>(Settings(true, true));
    m_program = std::make_unique<RunningProgram>(*m_install);
    HWND main = m_program->WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    // The first poll comes 300 ms after start, and the show takes far longer.
    GeometryTrace trace(main);
    ASSERT_TRUE(trace.RecordUntil([&](const Box& box) { return box == mediaRest; }, kGenerousMs))
        << Describe(trace.Boxes());
    trace.RecordFor(1000);
    EXPECT_EQ(trace.Last(), mediaRest) << "the later report stays shown";

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
    ExitCleanly(*m_program);
}
