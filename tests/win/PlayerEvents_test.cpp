// The media player host passes on the control's news of a new play state,
// item or media, and nothing else, until the host goes; it disconnects
// before it lets go of the control. A control without events still plays.
#include "players/PlayerHostDlg.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpTesting.h"

#include <gtest/gtest.h>
#include <wmpids.h>

using Lines = std::vector<std::string>;

TEST(PlayerEvents, PassesTheControlsNewsOnUntilTheHostGoes) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active());
    CFakeWmpDriver driver;
    fakewmp::PinnedFake pinned;
    fakewmp::OnFreshThread([&] {
        int changes = 0;
        HWND window = nullptr;
        {
            CPlayerHostDlg host;
            window = host.CreateHost(nullptr, [&] { ++changes; });
            const HWND control = CFakeWmpDriver::ControlWindow(window);
            for (DISPID event :
                 {DISPID_WMPCOREEVENT_PLAYSTATECHANGE, DISPID_WMPCOREEVENT_CURRENTITEMCHANGE,
                  DISPID_WMPCOREEVENT_MEDIACHANGE, DISPID_WMPCOREEVENT_OPENSTATECHANGE,
                  DISPID_WMPCOREEVENT_POSITIONCHANGE})
                EXPECT_EQ(CFakeWmpDriver::Fire(control, event), 1) << "event " << event;
            EXPECT_EQ(changes, 3);
            host.StopEvents();
            CFakeWmpDriver::Fire(control, DISPID_WMPCOREEVENT_PLAYSTATECHANGE);
            EXPECT_EQ(changes, 3);
        }
        // The object takes its window down, which disconnects and then
        // releases the control.
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(driver.LogLines(), (Lines{"remote", "released"})) << "disconnected first";
        EXPECT_EQ(pinned.CanUnloadNow(), S_OK);
        EXPECT_FALSE(fakewmp::ComInitialisedHere());
    });
}

TEST(PlayerEvents, AControlWithoutEventsIsMadeOnceAndReadAllTheSame) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active());
    CFakeWmpDriver driver;
    driver.OfferEvents(false);
    driver.SetMedia(wmppsPlaying, "Artist", "Title");
    fakewmp::OnFreshThread([&] {
        CPlayerHostDlg host;
        host.CreateHost(nullptr, [] {});
        EXPECT_EQ(host.ReadTrackText(), "Artist\nTitle\nWindows Media Player");
        EXPECT_EQ(driver.LogLines(), Lines{"remote"}) << "one control, one session";
    });
}
