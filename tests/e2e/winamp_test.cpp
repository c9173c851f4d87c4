// The running program and a fake Winamp: which titles bring the pop-up up,
// the setting that switches watching Winamp on, and the Previous and Next
// commands the pop-up's buttons send — also to a player that has gone or
// hangs. Only the pop-up's rectangle and the commands are looked at here.
//
// "Shows nothing" is checked after a poll tick delivered by the driver: once
// it has been handled, no animation runs and the pop-up has not moved.
#include "support/E2e.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/Session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace e2e;

namespace {

std::string Settings(const std::string& keyLines) {
    return "[PREFERENCES]\r\nskin=Default Skin 1\r\n" + keyLines + "\r\n";
}

const std::string kWatchWinamp = Settings("enwinamp=1\r\nenwmp=0\r\n");

// Clicks on the pop-up's Previous and Next buttons (a pop-up W wide); true
// once the program has handled them.
bool ClickPrevious(HWND main, int width) {
    return SendClick(main, POINT{width - 14, 14});
}
bool ClickNext(HWND main, int width) {
    return SendClick(main, POINT{width - 14, 33});
}

// A Winamp whose thread stops handling messages as soon as its window
// exists, until the object goes: a hung player.
class HungWinamp {
  public:
    explicit HungWinamp(const std::string& title)
        : m_created(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_release(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this, title] {
            FakeWinamp fake(title);
            SetEvent(m_created.Get());
            WaitForSingleObject(m_release.Get(), INFINITE);
        });
        WaitForSingleObject(m_created.Get(), kGenerousMs);
    }
    ~HungWinamp() {
        SetEvent(m_release.Get());
        m_thread.join();
    }
    HungWinamp(const HungWinamp&) = delete;
    HungWinamp& operator=(const HungWinamp&) = delete;

  private:
    UniqueHandle m_created;
    UniqueHandle m_release;
    std::thread m_thread;
};

} // namespace

TEST(Winamp, PausedStoppedIdleAndRepeatedTitlesShowNothing) {
    Session session(kWatchWinamp);
    RunningProgram& program = session.Program();
    HWND main = session.Main();

    const std::string playing = "1. Artist - Song - Winamp";
    auto winamp = std::make_unique<FakeWinamp>(playing);
    ASSERT_TRUE(program.TickPoll());
    ASSERT_GT(session.WaitForRest(RestingWidth("Artist\nSong\nWinamp")), 0) << WindowBox(main);
    ASSERT_TRUE(session.WaitUntilStill());

    // While it is up, the same title again, paused or stopped changes nothing.
    for (const std::string& title :
         {playing + " [Paused]", playing, playing + " [Stopped]", std::string("Winamp 5.94")}) {
        winamp->SetTitle(title);
        EXPECT_TRUE(session.PollShowsNothing()) << "up, title " << title;
    }

    // Hidden, neither does any of them; nor Winamp closing and coming back
    // with the same track.
    winamp->SetTitle(playing);
    ASSERT_TRUE(session.HideNow());
    for (const std::string& title :
         {playing + " [Paused]", playing, playing + " [Stopped]", std::string("Winamp 5.94"),
          std::string("Winamp 2.95 [Stopped]"), playing}) {
        winamp->SetTitle(title);
        EXPECT_TRUE(session.PollShowsNothing()) << "hidden, title " << title;
    }
    winamp.reset();
    EXPECT_TRUE(session.PollShowsNothing()) << "no Winamp";
    winamp = std::make_unique<FakeWinamp>(playing);
    EXPECT_TRUE(session.PollShowsNothing()) << "Winamp back with the same title";

    // The next track comes up.
    winamp->SetTitle("2. Artist - Another Song - Winamp");
    ASSERT_TRUE(program.TickPoll());
    ASSERT_GT(session.WaitForRest(RestingWidth("Artist\nAnother Song\nWinamp")), 0)
        << WindowBox(main);

    // A track arriving while the pop-up collapses brings it back, and the
    // collapse it interrupted leaves it shown: the toggle then collapses it
    // again rather than showing it (the cursor on Next keeps it up till then).
    // A track that came after the collapse had ended (the machine is shared)
    // proves nothing, so such a round is run again.
    GeometryTrace trace(main);
    int width = 0;
    bool interrupted = false;
    for (int round = 3; round < 8 && !interrupted; ++round) {
        ASSERT_TRUE(session.WaitUntilStill());
        ASSERT_TRUE(program.SendCommand(kCommandToggle));
        trace.Clear();
        ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b.height < kPopupAtRest.height; },
                                      kGenerousMs));
        const std::string song = "Song " + std::to_string(round);
        winamp->SetTitle(std::to_string(round) + ". Artist - " + song + " - Winamp");
        ASSERT_TRUE(program.TickPoll());
        const Box now = WindowBox(main);
        interrupted = now.height < kPopupAtRest.height && !IsSliver(now);
        width = RestingWidth("Artist\n" + song + "\nWinamp");
        SetCursorPos(kPopupAtRest.x + width - 14, kPopupAtRest.y + 33);
        ASSERT_GT(session.WaitForRest(width), 0) << WindowBox(main);
    }
    ASSERT_TRUE(interrupted) << "each time the collapse ended before the track came";
    ASSERT_TRUE(session.WaitUntilStill());
    trace.Clear();
    ASSERT_TRUE(program.SendCommand(kCommandToggle));
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return !IsAtRest(b); }, kGenerousMs));
    EXPECT_EQ(trace.Last().x, kPopupAtRest.x) << "not a collapse: " << trace.Last();
    EXPECT_EQ(trace.Last().width, width) << "not a collapse: " << trace.Last();
    EXPECT_TRUE(session.WaitForHidden());
    ParkCursor();
}

TEST(Winamp, OnlyTheSettingOneWatchesWinamp) {
    // Side by side, so one title reaches them all.
    const std::string settings[] = {Settings("enwinamp=1\r\n"),
                                    Settings("enwinamp=0\r\nenwmp=0\r\n"),
                                    Settings("enwinamp=2\r\nenwmp=0\r\n"), Settings("enwmp=0\r\n")};
    std::vector<std::unique_ptr<Session>> sessions;
    for (const std::string& keys : settings) {
        sessions.push_back(std::make_unique<Session>(keys));
    }

    FakeWinamp winamp("4. Artist - Song - Winamp");
    ASSERT_TRUE(sessions[0]->Program().TickPoll());
    EXPECT_GT(sessions[0]->WaitForRest(RestingWidth("Artist\nSong\nWinamp")), 0)
        << "the watching instance showed nothing";
    for (size_t i = 1; i < sessions.size(); ++i) {
        EXPECT_TRUE(sessions[i]->PollShowsNothing()) << settings[i];
    }
}

TEST(Winamp, PreviousAndNextReachWinampOnlyOnceItReportedATrack) {
    Session session(kWatchWinamp);
    RunningProgram& program = session.Program();
    HWND main = session.Main();
    auto winamp = std::make_unique<FakeWinamp>("Winamp 5.94");

    // Before any track, the pop-up shown on demand has nothing to forward.
    program.SendCommand(kCommandToggle);
    ASSERT_EQ(session.WaitForRest(317), 317) << WindowBox(main);
    ASSERT_TRUE(ClickPrevious(main, 317));
    ASSERT_TRUE(ClickNext(main, 317));
    EXPECT_TRUE(winamp->Commands().empty());

    // A track: the buttons send Winamp's commands, each once, in order.
    winamp->SetTitle("5. Artist - Song - Winamp");
    ASSERT_TRUE(program.TickPoll());
    const int width = RestingWidth("Artist\nSong\nWinamp");
    GeometryTrace trace(main);
    ASSERT_TRUE(
        trace.RecordUntil([&](const Box& b) { return b != PopupAtRest(317); }, kGenerousMs));
    ASSERT_GT(session.WaitForRest(width), 0) << WindowBox(main);
    ASSERT_TRUE(ClickPrevious(main, width));
    ASSERT_TRUE(ClickNext(main, width));
    ASSERT_TRUE(ClickNext(main, width));
    EXPECT_EQ(winamp->CommandIds(),
              (std::vector<WPARAM>{kWinampPrevious, kWinampNext, kWinampNext}));
    for (const ReceivedCommand& command : winamp->Commands()) {
        EXPECT_EQ(command.lParam, 0);
    }

    // Winamp gone: nothing to send to, and nothing breaks.
    winamp.reset();
    EXPECT_TRUE(ClickNext(main, width));
    EXPECT_TRUE(ClickPrevious(main, width));

    // A hung Winamp cannot hang the program: the click is handled while the
    // player still hangs. (Its title is read without asking it, so its track
    // comes up.)
    HungWinamp hung("6. Artist - Yet Another Song - Winamp");
    ASSERT_TRUE(program.TickPoll());
    const int hungWidth = RestingWidth("Artist\nYet Another Song\nWinamp");
    ASSERT_TRUE(session.WaitUntilStill());
    ASSERT_GT(session.WaitForRest(hungWidth), 0) << WindowBox(main);
    EXPECT_TRUE(ClickNext(main, hungWidth)) << "the program waits for the hung player";
}
