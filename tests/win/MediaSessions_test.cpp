// The media-sessions source against the fake session manager: what it
// reports and when, where Previous and Next go, and that it lets go of every
// handler and object; without the class, nothing.
#include "players/MediaSessionSource.h"
#include "support/Wait.h"
#include "tests/fakes/fakesessions/FakeSessionsDriver.h"

#include <gtest/gtest.h>

namespace {

constexpr int kPlaying = 4, kPaused = 5, kStopped = 3;
constexpr int kManager = -1;
using Track = std::optional<std::string>;

class MediaSessions : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fake.Ready());
        source.SetAnnounce([this] { ++announced; });
        source.SetEnabled(true);
        EXPECT_EQ(source.Poll(), std::nullopt);
        Settle();
        ASSERT_TRUE(source.Watching());
    }
    // Every test ends with the source switched off: nothing of the fake is held.
    void TearDown() override {
        source.SetEnabled(false);
        ExpectAllReleased();
    }
    // A barrier: every completion and event of the fake was handled, and the
    // handling asked for nothing more.
    void Settle() {
        for (int round = 0; round < 50; ++round) {
            const LONG requests = fake.State().propertyRequests;
            e2e::WaitUntil([&] { return fake.State().pendingWork == 0; });
            e2e::HandleWaitingMessages();
            if (fake.State().pendingWork == 0 && fake.State().propertyRequests == requests)
                return;
        }
        ADD_FAILURE() << "the source never settled";
    }
    // Sets the session's track and status and raises its event.
    Track Play(int session, const wchar_t* artist, const wchar_t* title, int status,
               int event = kPlaybackInfoChanged) {
        fake.Set(session, artist, title, status);
        fake.Raise(session, event);
        Settle();
        return source.Poll();
    }
    Track MakeCurrent(int session) {
        fake.State().current = session;
        fake.Raise(kManager, kCurrentSessionChanged);
        Settle();
        return source.Poll();
    }
    void ExpectAllReleased() {
        EXPECT_TRUE(e2e::WaitUntil([&] { return fake.State().pendingWork == 0; }));
        EXPECT_EQ(fake.State().liveRegistrations, 0);
        EXPECT_EQ(fake.State().liveObjects, 0);
        EXPECT_EQ(fake.State().callsAfterRelease, 0);
    }

    CFakeSessions fake;
    CMediaSessionSource source;
    int announced = 0;
};

TEST_F(MediaSessions, ReportsATrackOnceWhilePlayingAndNotAgainWhenResumed) {
    const int player = fake.Add(L"C:\\Program Files\\Player\\Player.exe");
    fake.Set(player, L"Bj\u00f6rk", L"Title", kPlaying);
    EXPECT_EQ(MakeCurrent(player), "Bj\xC3\xB6rk\nTitle\nPlayer");
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(source.Poll(), std::nullopt);
    EXPECT_EQ(Play(player, L"Bj\u00f6rk", L"Title", kPlaying, kMediaPropertiesChanged),
              std::nullopt);

    EXPECT_EQ(Play(player, L"Artist", L"Next", kPaused, kMediaPropertiesChanged), std::nullopt);
    EXPECT_EQ(Play(player, L"Artist", L"Next", kStopped), std::nullopt);
    EXPECT_EQ(Play(player, L"Artist", L"Next", kPlaying), "Artist\nNext\nPlayer");
    EXPECT_EQ(Play(player, L"Artist", L"Next", kPaused), std::nullopt);
    EXPECT_EQ(Play(player, L"Artist", L"Next", kPlaying), std::nullopt) << "resumed";
    EXPECT_EQ(announced, 2);
}

TEST_F(MediaSessions, FollowsTheCurrentSessionAndSkipsTheOneWhoseTrackItReported) {
    const int browser = fake.Add(L"Chrome"), app = fake.Add(L"Music.EXE");
    fake.Set(browser, L"A", L"Song", kPlaying);
    fake.Set(app, L"B", L"Tune", kPlaying);
    EXPECT_EQ(MakeCurrent(browser), "A\nSong\nChrome");
    EXPECT_EQ(MakeCurrent(app), "B\nTune\nMusic");
    EXPECT_EQ(Play(browser, L"A", L"Other", kPlaying, kMediaPropertiesChanged), std::nullopt);
    fake.Set(browser, L"A", L"Other", kPaused);
    EXPECT_EQ(MakeCurrent(browser), std::nullopt);
    EXPECT_EQ(fake.State().liveRegistrations, 3) << "the manager's and the browser's two";

    source.Next();
    source.Next();
    source.Previous();
    EXPECT_EQ(fake.State().sessions[app].skips[1], 2);
    EXPECT_EQ(fake.State().sessions[app].skips[0], 1);
    EXPECT_EQ(fake.State().sessions[browser].skips[0] + fake.State().sessions[browser].skips[1], 0);

    // Sessions vanish between an event and the source's calls.
    fake.State().sessions[browser].removed = true;
    fake.State().sessions[app].removed = true;
    EXPECT_EQ(Play(browser, L"A", L"Gone", kPlaying), std::nullopt);
    source.Next();
    EXPECT_EQ(MakeCurrent(-1), std::nullopt);
    EXPECT_EQ(fake.State().liveRegistrations, 1);
    // A new session later is heard from.
    const int later = fake.Add(L"Later");
    fake.Set(later, L"C", L"New", kPlaying);
    EXPECT_EQ(MakeCurrent(later), "C\nNew\nLater");
}

TEST_F(MediaSessions, SwitchedOffOrGoneItLetsGoOfEveryHandlerAndObject) {
    const int player = fake.Add(L"Player");
    fake.Set(player, L"A", L"Song", kPlaying);
    EXPECT_EQ(MakeCurrent(player), "A\nSong\nPlayer");
    // A look under way when it is switched off.
    fake.Raise(player, kMediaPropertiesChanged);
    e2e::HandleWaitingMessages();
    source.SetEnabled(false);
    ExpectAllReleased();
    EXPECT_EQ(source.Poll(), std::nullopt);

    source.SetEnabled(true);
    source.Poll();
    Settle();
    EXPECT_EQ(source.Poll(), std::nullopt) << "the same track again";
    EXPECT_EQ(Play(player, L"A", L"Next", kPlaying), "A\nNext\nPlayer");
    {
        CMediaSessionSource other;
        other.SetEnabled(true);
        other.Poll();
        Settle();
        EXPECT_TRUE(other.Watching());
    }
}

TEST_F(MediaSessions, OperationsCompletedBeforeTheirHandlerIsSetAreHandled) {
    source.SetEnabled(false);
    fake.Reset(true);
    source.SetEnabled(true);
    source.Poll();
    Settle();
    ASSERT_TRUE(source.Watching());
    const int player = fake.Add(L"Player");
    fake.Set(player, L"A", L"Song", kPlaying);
    EXPECT_EQ(MakeCurrent(player), "A\nSong\nPlayer");
}

TEST(MediaSessionsUnregistered, WithoutTheClassNothingIsReportedOrShown) {
    const fakes::PrefixLock lock(fakesessions::kLockName);
    ASSERT_TRUE(lock.Owned());
    fakes::PutBack(fakesessions::kDllPath);
    CMediaSessionSource source;
    source.SetEnabled(true);
    EXPECT_EQ(source.Poll(), std::nullopt);
    e2e::HandleWaitingMessages();
    EXPECT_EQ(source.Poll(), std::nullopt);
    EXPECT_FALSE(source.Watching());
    source.Previous();
    source.Next();
}

} // namespace
