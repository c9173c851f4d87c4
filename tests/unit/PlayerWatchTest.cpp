// The player watch over fake sources: which report becomes the shown track,
// what is held back over a full-screen application, where Previous and Next
// go, and how announcements turn into polls.
#include "players/PlayerWatch.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// A player whose next reports the test queues; it counts its commands.
class FakeSource : public ITrackSource {
  public:
    std::optional<std::string> Poll() override {
        ++polls;
        if (!IsEnabled() || reports.empty())
            return std::nullopt;
        std::string next = reports.front();
        reports.pop_front();
        return next;
    }
    void Previous() override { ++previous; }
    void Next() override { ++next; }
    const char* Name() const override { return "Fake"; }
    void RaiseAnnouncement() { Announce(); }

    std::deque<std::string> reports;
    int polls = 0, previous = 0, next = 0;
};

class PlayerWatchTest : public ::testing::Test {
  protected:
    PlayerWatchTest()
        : watch([this] { ++pollRequests; }, [this] { return quiet; }, [this] { return clock; }) {
        auto first = std::make_unique<FakeSource>();
        auto second = std::make_unique<FakeSource>();
        a = first.get();
        b = second.get();
        watch.Add(std::move(first), "ena");
        watch.Add(std::move(second), "enb");
        watch.SetEnabled("ena", true);
        watch.SetEnabled("enb", true);
    }

    CPlayerWatch watch;
    FakeSource* a = nullptr;
    FakeSource* b = nullptr;
    bool quiet = false;
    int pollRequests = 0;
    int64_t clock = 1000;
};

TEST_F(PlayerWatchTest, TheFirstSourceWithNewsWinsTheRound) {
    a->reports = {"A1"};
    b->reports = {"B1"};
    EXPECT_TRUE(watch.Poll());
    EXPECT_EQ(watch.ShownTrack(), "A1");
    EXPECT_EQ(b->polls, 0) << "the second source was asked though the first had news";
    EXPECT_TRUE(watch.Poll());
    EXPECT_EQ(watch.ShownTrack(), "B1");
    EXPECT_FALSE(watch.Poll());
    EXPECT_EQ(watch.ShownTrack(), "B1");
    EXPECT_EQ(watch.Keys(), (std::vector<std::string>{"ena", "enb"}));
}

TEST_F(PlayerWatchTest, AHeldBackTrackWaitsForTheShowCommandAndTheButtonsStayWithTheShownOne) {
    a->reports = {"A1"};
    ASSERT_TRUE(watch.Poll());
    quiet = true;
    b->reports = {"B1"};
    EXPECT_FALSE(watch.Poll());
    EXPECT_EQ(watch.NewestTrack(), "B1");
    EXPECT_EQ(watch.ShownTrack(), "A1");
    watch.Previous();
    watch.Next();
    EXPECT_EQ(a->previous, 1);
    EXPECT_EQ(a->next, 1);
    EXPECT_EQ(b->previous + b->next, 0) << "a button acted on the player of a track not shown";

    watch.ShowNewest();
    EXPECT_EQ(watch.ShownTrack(), "B1");
    watch.Next();
    EXPECT_EQ(b->next, 1);
}

TEST_F(PlayerWatchTest, OneSongFromTwoPlayersWithinFiveSecondsShowsOnce) {
    a->reports = {"Artist\nSong\nWinamp"};
    ASSERT_TRUE(watch.Poll());
    clock += 4999;
    b->reports = {"Artist\nSong\nSpotify", "Artist\nSong\nSpotify"};
    EXPECT_FALSE(watch.Poll()) << "the echo from the second player showed again";
    EXPECT_EQ(watch.ShownTrack(), "Artist\nSong\nWinamp");
    watch.Next();
    EXPECT_EQ(a->next, 1) << "the buttons left the player of the shown track";
    // Later, or another song, or the same player again: a track like any other.
    clock += 5000;
    EXPECT_TRUE(watch.Poll());
    EXPECT_EQ(watch.ShownTrack(), "Artist\nSong\nSpotify");
    b->reports = {"Artist\nOther Song\nSpotify"};
    EXPECT_TRUE(watch.Poll());
}

TEST_F(PlayerWatchTest, ButtonsBeforeAnyTrackAndATextWithoutPlayerReachNoPlayer) {
    watch.Previous();
    watch.ShowText("Typed\nText\nNobody");
    watch.Next();
    EXPECT_EQ(a->previous + a->next + b->previous + b->next, 0);
}

TEST_F(PlayerWatchTest, ABurstOfAnnouncementsAsksForOnePoll) {
    a->RaiseAnnouncement();
    b->RaiseAnnouncement();
    a->RaiseAnnouncement();
    EXPECT_EQ(pollRequests, 1);
    watch.Poll(); // a poll tick before the announced poll arrives
    a->RaiseAnnouncement();
    EXPECT_EQ(pollRequests, 1) << "the announced poll is still on its way";
    watch.PollAnnounced();
    b->RaiseAnnouncement();
    EXPECT_EQ(pollRequests, 2);
}

TEST_F(PlayerWatchTest, SwitchedOffOrStoppedSourcesReportNothingAndAnnounceNothing) {
    watch.SetEnabled("enb", false);
    EXPECT_TRUE(watch.IsEnabled("ena"));
    EXPECT_FALSE(watch.IsEnabled("enb"));
    EXPECT_FALSE(watch.IsEnabled("unknown"));
    b->reports = {"B1"};
    EXPECT_FALSE(watch.Poll());

    watch.Stop();
    EXPECT_FALSE(watch.IsEnabled("ena"));
    a->RaiseAnnouncement();
    EXPECT_EQ(pollRequests, 0);
}

} // namespace
