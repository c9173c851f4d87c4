#include "core/FullScreen.h"

#include <gtest/gtest.h>

namespace {

const Rect kMonitor{0, 0, 1280, 800};
const Rect kSecondMonitor{1280, 0, 3200, 1080};

ForegroundWindow Foreground(const Rect& client) {
    ForegroundWindow window;
    window.present = true;
    window.client = client;
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

TEST(FullScreen, OnlyTheMonitorOfThePopupCounts) {
    EXPECT_FALSE(IsFullScreenAppInFront(Foreground(kSecondMonitor), kMonitor, kAccepts));
    EXPECT_TRUE(IsFullScreenAppInFront(Foreground({0, 0, 3200, 1080}), kMonitor, kAccepts));
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

TEST(FullScreen, TheShellsWordIsEnough) {
    const ForegroundWindow none;
    EXPECT_TRUE(IsFullScreenAppInFront(none, kMonitor, UserNotificationState::Busy));
    EXPECT_TRUE(IsFullScreenAppInFront(none, kMonitor, UserNotificationState::Direct3DFullScreen));
    EXPECT_TRUE(IsFullScreenAppInFront(none, kMonitor, UserNotificationState::Presenting));
    EXPECT_FALSE(IsFullScreenAppInFront(none, kMonitor, kAccepts));
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
