// CPlayerHostDlg: the hidden window that embeds the media player control in
// remote mode, reads the playing media and forwards Previous and Next.
#include "players/PlayerHostDlg.h"
#include "framework/AxHost.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpTesting.h"
#include <gtest/gtest.h>

using fakewmp::ComInitialisedHere;
using fakewmp::OnFreshThread;
using Lines = std::vector<std::string>;

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The fake control registered and driven, for one test.
class PlayerHostWithFake : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_registration.Active());
        ASSERT_TRUE(m_pinned.Loaded());
    }
    CFakeWmpRegistration m_registration;
    CFakeWmpDriver m_driver;
    fakewmp::PinnedFake m_pinned;
};

} // namespace

TEST_F(PlayerHostWithFake, EmbedsTheControlInRemoteModeInAHiddenWindow) {
    OnFreshThread([&] {
        HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        CPlayerHostDlg host;
        HWND window = host.CreateHost(owner);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(host.GetSafeHwnd(), window);
        EXPECT_FALSE(IsWindowVisible(window)) << "never shown";
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
        char caption[32] = {};
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "ActiveX");

        HWND hosting = GetWindow(window, GW_CHILD);
        ASSERT_NE(hosting, nullptr);
        EXPECT_EQ(ClassOf(hosting), kAxWinClass);
        RECT rc{};
        GetClientRect(hosting, &rc);
        EXPECT_EQ(rc.right, 200);
        EXPECT_EQ(rc.bottom, 200);

        EXPECT_TRUE(host.HasPlayer());
        EXPECT_EQ(m_driver.LogLines(), Lines{"remote"}) << "the control saw the remote site";
        EXPECT_TRUE(ComInitialisedHere());

        DestroyWindow(window);
        EXPECT_EQ(host.GetSafeHwnd(), nullptr);
        EXPECT_FALSE(host.HasPlayer());
        EXPECT_EQ(m_pinned.CanUnloadNow(), S_OK) << "the control and its parts are gone";
        EXPECT_EQ(m_driver.LogLines(), (Lines{"remote", "released"}));
        EXPECT_FALSE(ComInitialisedHere());
        DestroyWindow(owner);
    });
}

TEST_F(PlayerHostWithFake, IsPlayingOnlyInThePlayingState) {
    OnFreshThread([&] {
        CPlayerHostDlg host;
        ASSERT_NE(host.CreateHost(nullptr), nullptr);
        const std::pair<long, bool> cases[] = {{wmppsPlaying, true},
                                               {wmppsPaused, false},
                                               {wmppsStopped, false},
                                               {wmppsUndefined, false},
                                               {wmppsBuffering, false}};
        for (auto [state, playing] : cases) {
            m_driver.SetMedia(state, "Artist", "Title");
            EXPECT_EQ(host.IsPlaying(), playing) << "state " << state;
        }
    });
}

TEST_F(PlayerHostWithFake, ComposesAuthorNameAndThePlayersName) {
    OnFreshThread([&] {
        CPlayerHostDlg host;
        ASSERT_NE(host.CreateHost(nullptr), nullptr);

        m_driver.SetMedia(wmppsPlaying, "Artist", "Title");
        EXPECT_EQ(host.ReadTrackText(), "Artist\nTitle\nWindows Media Player");
        m_driver.SetMedia(wmppsPlaying, std::nullopt, "Title");
        EXPECT_EQ(host.ReadTrackText(), "\nTitle\nWindows Media Player")
            << "a missing author is an empty first line";
        m_driver.SetMedia(wmppsPlaying, "", "Title");
        EXPECT_EQ(host.ReadTrackText(), "\nTitle\nWindows Media Player");
        m_driver.SetMedia(wmppsPlaying, "Artist", std::nullopt);
        EXPECT_EQ(host.ReadTrackText(), "Artist\n\nWindows Media Player");

        // Playing without a current media: nothing to report.
        m_driver.SetNoMedia(wmppsPlaying);
        EXPECT_EQ(host.ReadTrackText(), "");

        const std::string longName(300, 'n');
        m_driver.SetMedia(wmppsPlaying, "Artist", longName);
        const std::string& cut = host.ReadTrackText();
        EXPECT_EQ(cut.size(), 255u) << "cut to fit the program's 255-byte texts";
        EXPECT_EQ(cut.substr(0, 7), "Artist\n");
        EXPECT_EQ(cut.substr(cut.size() - 21), "\nWindows Media Player");
    });
}

TEST_F(PlayerHostWithFake, ConvertsThePlayersTextToTheCodePageInForce) {
    // The tests carry the program's manifest, so their code page is UTF-8.
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    OnFreshThread([&] {
        CPlayerHostDlg host;
        ASSERT_NE(host.CreateHost(nullptr), nullptr);
        // Beyoncé, € uro; 日本の歌 and Ансамбль.
        m_driver.SetMedia(wmppsPlaying, "Beyonc\xC3\xA9", "\xE2\x82\xAC uro");
        EXPECT_EQ(host.ReadTrackText(), "Beyonc\xC3\xA9\n\xE2\x82\xAC uro\nWindows Media Player");
        const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C";
        const std::string russian =
            "\xD0\x90\xD0\xBD\xD1\x81\xD0\xB0\xD0\xBC\xD0\xB1\xD0\xBB\xD1\x8C";
        m_driver.SetMedia(wmppsPlaying, russian, japanese);
        EXPECT_EQ(host.ReadTrackText(), russian + "\n" + japanese + "\nWindows Media Player");

        // Ten thousand characters each: converted and cut (the cut itself is
        // the composition's), they still fit the program's 255-byte texts
        // and end with the player's line.
        std::string longText;
        while (longText.size() < 10000)
            longText += "\xC3\x9C"
                        "ber L\xC3\xA4"
                        "nge \xE6\x9B\xB2 "; // Über Länge 曲
        m_driver.SetMedia(wmppsPlaying, longText, longText);
        const std::string text = host.ReadTrackText();
        EXPECT_LE(text.size(), 255u);
        EXPECT_EQ(text.substr(text.size() - 21), "\nWindows Media Player");
    });
}

TEST_F(PlayerHostWithFake, PreviousAndNextReachThePlayer) {
    OnFreshThread([&] {
        CPlayerHostDlg host;
        ASSERT_NE(host.CreateHost(nullptr), nullptr);
        host.Previous();
        host.Next();
        host.Next();
        EXPECT_EQ(m_driver.LogLines(), (Lines{"remote", "previous", "next", "next"}));
    });
}

TEST_F(PlayerHostWithFake, WindowGoesOnOkAndCancel) {
    OnFreshThread([&] {
        for (WPARAM command : {IDOK, IDCANCEL}) {
            CPlayerHostDlg host;
            HWND window = host.CreateHost(nullptr);
            ASSERT_NE(window, nullptr);
            SendMessageA(window, WM_COMMAND, command, 0);
            EXPECT_FALSE(IsWindow(window)) << "command " << command;
            EXPECT_EQ(host.GetSafeHwnd(), nullptr);
            EXPECT_FALSE(host.HasPlayer());
        }
    });
}

TEST(PlayerHost, WithoutAControlNothingPlaysAndNothingBreaks) {
    // A registration whose server cannot be loaded: the control is never made.
    CFakeWmpRegistration broken("C:\\no such folder\\fakewmp.dll");
    ASSERT_TRUE(broken.Active());
    CFakeWmpDriver driver;
    driver.SetMedia(wmppsPlaying, "Artist", "Title");
    OnFreshThread([&] {
        CPlayerHostDlg host;
        HWND window = host.CreateHost(nullptr);
        ASSERT_NE(window, nullptr) << "the window exists even without its control";
        EXPECT_FALSE(host.HasPlayer());
        EXPECT_FALSE(host.IsPlaying());
        EXPECT_EQ(host.ReadTrackText(), "");
        host.Previous();
        host.Next();
        EXPECT_EQ(driver.LogLines(), Lines{});
    });
}

TEST(PlayerHost, HostsWinesOwnControl) {
    CWineWmpRegistration wineControl;
    ASSERT_TRUE(wineControl.Active());
    OnFreshThread([] {
        {
            CPlayerHostDlg host;
            ASSERT_NE(host.CreateHost(nullptr), nullptr);
            EXPECT_TRUE(host.HasPlayer()) << "Wine's control offers IWMPPlayer4";
            // Wine's control cannot tell its play state and has no media.
            EXPECT_FALSE(host.IsPlaying());
            EXPECT_EQ(host.ReadTrackText(), "");
            host.Previous();
            host.Next();
        }
        EXPECT_FALSE(ComInitialisedHere());
    });
}
