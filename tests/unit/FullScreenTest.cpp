#include "core/FullScreen.h"

#include <gtest/gtest.h>

namespace {

const Rect kMonitor{0, 0, 1280, 800};
const Rect kSecondMonitor{1280, 0, 3200, 1080};

ForegroundWindow Foreground(const Rect& client) {
    ForegroundWindow window;
    window.present = true;
    window.client = client;
    window.monitor = kMonitor;
    return window;
}

constexpr UserNotificationState kAccepts = UserNotificationState::Accepts;

TEST(FullScreen, AClientAreaCoveringTheMonitorIsFullScreen) {
    EXPECT_TRUE(IsFullScreenAppInFront(Foreground(kMonitor), kMonitor, kAccepts));
    // Larger than the monitor (borders pushed off the screen) counts too.
    EXPECT_TRUE(IsFullScreenAppInFront(Foreground({-8, -8, 1288, 808}), kMonitor, kAccepts));
}

TEST(FullScreen, AMaximisedWindowWithACaptionIsNot) {
    EXPECT_FALSE(IsFullScreenAppInFront(Foreground({0, 23, 1280, 800}), kMonitor, kAccepts));
    EXPECT_FALSE(IsFullScreenAppInFront(Foreground({0, 0, 1280, 770}), kMonitor, kAccepts));
    EXPECT_FALSE(IsFullScreenAppInFront(Foreground({1, 0, 1280, 800}), kMonitor, kAccepts));
    EXPECT_FALSE(IsFullScreenAppInFront(Foreground({0, 0, 1279, 800}), kMonitor, kAccepts));
}

TEST(FullScreen, AMaximisedWindowIsNeverFullScreen) {
    // An editor drawing its own frame, maximised while the task bar hides.
    ForegroundWindow editor = Foreground(kMonitor);
    editor.maximised = true;
    EXPECT_FALSE(IsFullScreenAppInFront(editor, kMonitor, kAccepts));
}

TEST(FullScreen, OnlyTheMonitorOfThePopupCounts) {
    ForegroundWindow elsewhere = Foreground(kSecondMonitor);
    elsewhere.monitor = kSecondMonitor;
    EXPECT_FALSE(IsFullScreenAppInFront(elsewhere, kMonitor, kAccepts));
    EXPECT_TRUE(IsFullScreenAppInFront(Foreground({0, 0, 3200, 1080}), kMonitor, kAccepts));
    // The shell's busy states are session-wide: they count only while the
    // foreground window is on the pop-up's monitor.
    for (UserNotificationState busy :
         {UserNotificationState::Busy, UserNotificationState::Direct3DFullScreen,
          UserNotificationState::Presenting}) {
        EXPECT_FALSE(IsFullScreenAppInFront(elsewhere, kMonitor, busy));
        EXPECT_TRUE(IsFullScreenAppInFront(Foreground({10, 10, 400, 300}), kMonitor, busy));
    }
}

TEST(FullScreen, OurOwnWindowsTheDesktopAndNoForegroundAreNot) {
    ForegroundWindow ours = Foreground(kMonitor);
    ours.ours = true;
    EXPECT_FALSE(IsFullScreenAppInFront(ours, kMonitor, kAccepts));
    ForegroundWindow desktop = Foreground(kMonitor);
    desktop.shell = true;
    EXPECT_FALSE(IsFullScreenAppInFront(desktop, kMonitor, kAccepts));
    ForegroundWindow none = Foreground(kMonitor);
    none.present = false;
    EXPECT_FALSE(IsFullScreenAppInFront(none, kMonitor, kAccepts));
    EXPECT_FALSE(IsFullScreenAppInFront(Foreground(kMonitor), Rect{}, kAccepts));
}

TEST(FullScreen, TheShellsWordIsReadByItsNumber) {
    // QUERY_USER_NOTIFICATION_STATE as the shell documents it.
    EXPECT_EQ(UserNotificationStateFromShell(1), kAccepts); // not present (locked, saver)
    EXPECT_EQ(UserNotificationStateFromShell(2), UserNotificationState::Busy);
    EXPECT_EQ(UserNotificationStateFromShell(3), UserNotificationState::Direct3DFullScreen);
    EXPECT_EQ(UserNotificationStateFromShell(4), UserNotificationState::Presenting);
    EXPECT_EQ(UserNotificationStateFromShell(5), kAccepts);
    EXPECT_EQ(UserNotificationStateFromShell(6), kAccepts); // quiet time
    EXPECT_EQ(UserNotificationStateFromShell(0), kAccepts);
}

TEST(FullScreen, TheShellsWordIsEnoughOnThePopupsMonitor) {
    const ForegroundWindow small = Foreground({10, 10, 400, 300});
    EXPECT_TRUE(IsFullScreenAppInFront(small, kMonitor, UserNotificationState::Busy));
    EXPECT_FALSE(IsFullScreenAppInFront(small, kMonitor, kAccepts));
    EXPECT_FALSE(IsFullScreenAppInFront(ForegroundWindow{}, kMonitor, UserNotificationState::Busy));
}

TEST(FullScreen, TheShellsOwnWindowsAreKnownByTheirClass) {
    EXPECT_TRUE(IsShellWindowClass("Progman"));
    EXPECT_TRUE(IsShellWindowClass("WorkerW"));
    EXPECT_TRUE(IsShellWindowClass("Shell_TrayWnd"));
    EXPECT_TRUE(IsShellWindowClass("Shell_SecondaryTrayWnd"));
    EXPECT_FALSE(IsShellWindowClass("Notepad"));
    EXPECT_FALSE(IsShellWindowClass("Progman2"));
    EXPECT_FALSE(IsShellWindowClass(""));
}

} // namespace
