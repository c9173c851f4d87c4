// The pop-up hears the players announce a change and takes it exactly as a
// poll tick would, without waiting for one. These pop-ups never start their
// poll timer: a poll happens only when a test sends the timer's tick.
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"
#include "players/Players.h"
#include "res/resource.h"
#include "support/FakeWinamp.h"
#include "support/MediaPlayerWindow.h"
#include "support/Wait.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>
#include <wmp.h>
#include <wmpids.h>

using namespace e2e;

namespace {

class ListeningPopup : public CNowPlayingWnd {
  public:
    ListeningPopup(bool winamp, bool mediaPlayer) : CNowPlayingWnd(nullptr) {
        Create(IDD_NOWPLAYING);
        ::ShowWindow(m_hWnd, SW_HIDE); // out of the way of tests reading the screen
        RegisterPlayers(Watch(), m_hWnd);
        Watch().SetEnabled(kEnableWinampKey, winamp);
        Watch().SetEnabled(kEnableWmpKey, mediaPlayer);
    }
    ~ListeningPopup() override {
        if (m_hWnd) // no animation may still need this thread when the window goes
            WaitUntil([&] { return Animator().State() == ANIM_IDLE; });
    }
    // One tick of the poll timer, handled when this returns.
    void PollTick() { SendMessage(WM_TIMER, IDT_POLL); }

  protected:
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
};

const std::string kOne = "Artist\nOne\nWinamp";

} // namespace

// (That a burst of announcements costs one poll, and that Winamp is asked
// first, is the watch's decision: tests/unit/PlayerWatchTest.cpp.)
TEST(PlayerAnnouncements, WinampsAnnouncementsBringItsTrackWithoutAPoll) {
    FakeWinamp winamp("1. Artist - One - Winamp");
    ListeningPopup popup(true, false);
    popup.PollTick(); // finds Winamp, and listens to it from now on
    winamp.SetTitle("2. Artist - Two - Winamp");
    EXPECT_TRUE(WaitUntil([&] { return popup.TrackText() == "Artist\nTwo\nWinamp"; }));
    EXPECT_TRUE(popup.Animator().IsShown());
}

TEST(PlayerAnnouncements, WhatNobodyAnnouncesWaitsForThePoll) {
    FakeWinamp winamp("1. Artist - One - Winamp", Renames::Silent);
    ListeningPopup popup(true, false);
    popup.PollTick();
    winamp.SetTitle("2. Artist - Two - Winamp");
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), kOne);
    popup.PollTick();
    EXPECT_EQ(popup.TrackText(), "Artist\nTwo\nWinamp");
}

TEST(PlayerAnnouncements, ExitWithAnAnnouncementWaitingTakesNoTrack) {
    FakeWinamp winamp("1. Artist - One - Winamp");
    ListeningPopup popup(true, false);
    popup.PollTick(); // a show starts: each of its moves waits for this thread
    winamp.SetTitle("2. Artist - Two - Winamp");
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // the hook has asked for its poll
    ASSERT_TRUE(PeekMessageA(&msg, popup.m_hWnd, WM_APP + 2, WM_APP + 2, PM_NOREMOVE))
        << "no poll was asked for";
    // Wait, handling nothing, for the show's next move: Exit then handles
    // messages while it stops the show.
    const auto moveWaits = [] { return HIWORD(GetQueueStatus(QS_SENDMESSAGE)) != 0; };
    for (ULONGLONG end = GetTickCount64() + kGenerousMs; !moveWaits() && GetTickCount64() < end;)
        Sleep(1);
    ASSERT_TRUE(moveWaits()) << "the show never asked this thread for its next move";
    popup.OnExit();
    EXPECT_EQ(popup.m_hWnd, nullptr);
    winamp.SetTitle("3. Artist - Three - Winamp");
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), kOne);
}

TEST(PlayerAnnouncements, MediaPlayerEventsBringItsTrackWithoutAPoll) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active());
    CFakeWmpDriver player;
    MediaPlayerWindow playerWindow;
    player.SetMedia(wmppsStopped, "Author", "Name 1");
    ListeningPopup popup(false, true);
    popup.PollTick(); // the media player's host, not playing
    const HWND control = CFakeWmpDriver::ControlWindow(FindWindowA("#32770", "ActiveX"));
    ASSERT_NE(control, nullptr);
    player.SetMedia(wmppsPlaying, "Author", "Name 2");
    EXPECT_EQ(CFakeWmpDriver::Fire(control, DISPID_WMPCOREEVENT_PLAYSTATECHANGE), 1);
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), "Author\nName 2\nWindows Media Player");
}
