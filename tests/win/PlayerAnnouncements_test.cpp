// The pop-up hears the players announce a change and takes it exactly as a
// poll tick would, without waiting for one. The pop-up here never starts
// its poll timer: a poll happens only when a test sends the timer's tick.
#include "app/NowPlayingWnd.h"
#include "res/resource.h"
#include "support/FakeWinamp.h"
#include "support/MediaPlayerWindow.h"
#include "support/Wait.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>
#include <wmpids.h>

using namespace e2e;

namespace {

constexpr long kPlaying = 3, kStopped = 1;

class ListeningPopup : public CNowPlayingWnd {
  public:
    ListeningPopup(bool winamp, bool mediaPlayer) : CNowPlayingWnd(nullptr) {
        Create(IDD_NOWPLAYING);
        ::ShowWindow(m_hWnd, SW_HIDE); // out of the way of tests reading the screen
        WatchPlayers(winamp, mediaPlayer);
    }
    ~ListeningPopup() override {
        // No animation may still need this thread when the window goes.
        if (m_hWnd)
            WaitUntil([&] { return Animator().State() == ANIM_IDLE; });
    }
    // One tick of the poll timer, handled when this returns.
    void PollTick() { SendMessage(WM_TIMER, IDT_POLL); }

  protected:
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
};

// Waits for `done` without handling any message.
bool WaitUntilNoPump(bool (*done)()) {
    for (ULONGLONG end = GetTickCount64() + kGenerousMs; !done(); Sleep(1))
        if (GetTickCount64() > end)
            return false;
    return true;
}

// The fake media player control's window, in this thread's hidden host.
HWND FakeControl() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) {
            *reinterpret_cast<HWND*>(context) = CFakeWmpDriver::ControlWindow(window);
            return *reinterpret_cast<HWND*>(context) ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

TEST(PlayerAnnouncements, WinampsAnnouncementBringsItsTrackWithoutAPoll) {
    FakeWinamp winamp("1. Artist - One - Winamp");
    ListeningPopup popup(true, false);
    popup.PollTick(); // finds Winamp, and listens to it from now on
    ASSERT_EQ(popup.TrackText(), "Artist\nOne\nWinamp");
    winamp.SetTitle("2. Artist - Two - Winamp");
    EXPECT_TRUE(WaitUntil([&] { return popup.TrackText() == "Artist\nTwo\nWinamp"; }));
    EXPECT_TRUE(popup.Animator().IsShown());
}

TEST(PlayerAnnouncements, ABurstOfAnnouncementsCostsOnePoll) {
    FakeWinamp winamp("1. Artist - One - Winamp");
    ListeningPopup popup(true, false);
    popup.PollTick();
    const int reads = winamp.TextReads();
    for (const char* title :
         {"2. Artist - Two - Winamp", "3. Artist - Three - Winamp", "4. Artist - Four - Winamp"})
        winamp.SetTitle(title);
    winamp.AnnounceRename();
    HandleWaitingMessages();
    EXPECT_EQ(winamp.TextReads(), reads + 1);
    EXPECT_EQ(popup.TrackText(), "Artist\nFour\nWinamp");
}

TEST(PlayerAnnouncements, WhatNobodyAnnouncesWaitsForThePoll) {
    FakeWinamp winamp("1. Artist - One - Winamp", Renames::Silent);
    ListeningPopup popup(true, false);
    popup.PollTick();
    winamp.SetTitle("2. Artist - Two - Winamp");
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), "Artist\nOne\nWinamp");
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
    // The show's next move waits for this thread, so Exit handles messages
    // while it stops the show.
    ASSERT_TRUE(WaitUntilNoPump([] { return HIWORD(GetQueueStatus(QS_SENDMESSAGE)) != 0; }));
    HWND window = popup.m_hWnd;
    popup.OnExit();
    EXPECT_FALSE(IsWindow(window));
    winamp.SetTitle("3. Artist - Three - Winamp");
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), "Artist\nOne\nWinamp");
}

class MediaPlayerAnnouncements : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_registration.Active()); }
    CFakeWmpRegistration m_registration;
    CFakeWmpDriver m_driver;
    MediaPlayerWindow m_player;
};

TEST_F(MediaPlayerAnnouncements, TheyDriveThePollAndWinampStaysFirst) {
    m_driver.SetMedia(kStopped, "Author", "Name 1");
    FakeWinamp winamp("1. Artist - One - Winamp");
    ListeningPopup popup(true, true);
    popup.PollTick(); // Winamp's track; the media player is not asked
    popup.PollTick(); // the media player's host, not playing
    const HWND control = FakeControl();
    ASSERT_NE(control, nullptr);

    // Both move on; Winamp announces, and its track comes first.
    m_driver.SetMedia(kPlaying, "Author", "Name 2");
    winamp.SetTitle("2. Artist - Two - Winamp");
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), "Artist\nTwo\nWinamp");
    EXPECT_EQ(CFakeWmpDriver::Fire(control, DISPID_WMPCOREEVENT_PLAYSTATECHANGE), 1);
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), "Author\nName 2\nWindows Media Player");

    // A new item comes with three events: one poll reads them.
    m_driver.SetMedia(kPlaying, "Author", "Name 3");
    const LRESULT reads = CFakeWmpDriver::PlayStateReads(control);
    for (DISPID event : {DISPID_WMPCOREEVENT_CURRENTITEMCHANGE, DISPID_WMPCOREEVENT_MEDIACHANGE,
                         DISPID_WMPCOREEVENT_PLAYSTATECHANGE})
        CFakeWmpDriver::Fire(control, event);
    HandleWaitingMessages();
    EXPECT_EQ(CFakeWmpDriver::PlayStateReads(control), reads + 1);
    EXPECT_EQ(popup.TrackText(), "Author\nName 3\nWindows Media Player");

    // Any other event is not a change of track.
    m_driver.SetMedia(kPlaying, "Author", "Name 4");
    EXPECT_EQ(CFakeWmpDriver::Fire(control, DISPID_WMPCOREEVENT_OPENSTATECHANGE), 1);
    HandleWaitingMessages();
    EXPECT_EQ(popup.TrackText(), "Author\nName 3\nWindows Media Player");
}
