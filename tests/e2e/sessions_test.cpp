// Any player Windows knows of, through the fake media-session manager
// registered while the test runs: a session's track grows in, Next skips on
// that session, and Exit while its events keep coming leaves no handler
// registered.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/Session.h"
#include "tests/fakes/fakesessions/FakeSessionsDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

using namespace e2e;

TEST(MediaSessions, ASessionsTrackGrowsInSkipsAndExitWhileEventsFireLeavesNothingRegistered) {
    CFakeSessions fake;
    ASSERT_TRUE(fake.Ready()) << "could not register fakesessions.dll";
    fake.Reset(false);
    const int tunes = fake.Add(L"C:\\Program Files\\Tunes\\Tunes.exe");
    fake.Set(tunes, L"Session Artist", L"Session Song", 4);
    fake.State().current = tunes;

    Session session("[PREFERENCES]\r\nskin=Flat\r\nenwinamp=0\r\nenwmp=0\r\nenmedia=1\r\n",
                    InstallFlatSkin);
    ASSERT_TRUE(session.Program().TickPoll()); // the first poll starts the watch
    const std::string text = "Session Artist\nSession Song\nTunes";
    const int width = RestingWidth(text);
    ASSERT_EQ(session.WaitForRest(width), width) << "the session's track did not come in";

    ASSERT_TRUE(SendClick(session.Main(), POINT{width - 14, 14 + 19})); // Next
    EXPECT_EQ(fake.State().sessions[tunes].skips[1], 1);
    EXPECT_EQ(fake.State().sessions[tunes].skips[0], 0);

    std::atomic<bool> firing{true};
    std::thread events([&] {
        while (firing)
            fake.RaiseInProgram(tunes, kMediaPropertiesChanged, 2000);
    });
    ASSERT_TRUE(fake.RaiseInProgram(tunes, kPlaybackInfoChanged)) << "the program hears no event";
    session.Exit();
    firing = false;
    events.join();
    EXPECT_EQ(fake.State().liveRegistrations, 0) << "a handler stayed registered after Exit";
}
