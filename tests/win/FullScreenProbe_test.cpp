// What the full-screen rule reads of the desktop: a window of this program
// covering the screen is never a full-screen application to stay quiet for,
// and a maximised window is seen as maximised. The test screen is 1280 x 800.
#include "shell/FullScreenProbe.h"
#include "support/Keyboard.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// A visible top-level window of this process, destroyed with the object.
struct OwnWindow {
    HWND handle;
    OwnWindow(DWORD style, int width, int height)
        : handle(::CreateWindowExA(0, "STATIC", "", style | WS_VISIBLE, 0, 0, width, height,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnWindow() { ::DestroyWindow(handle); }
};

TEST(FullScreenProbe, OurOwnScreenCoveringWindowIsOursAndNoReasonToStayQuiet) {
    OwnWindow cover(WS_POPUP, 1280, 800);
    ASSERT_TRUE(e2e::BringToForeground(cover.handle));
    const ForegroundWindow seen = ReadForegroundWindow();
    EXPECT_TRUE(seen.present);
    EXPECT_TRUE(seen.ours);
    EXPECT_FALSE(seen.maximised);
    EXPECT_EQ(seen.client, (Rect{0, 0, 1280, 800}));
    EXPECT_EQ(seen.monitor, (Rect{0, 0, 1280, 800}));
    EXPECT_FALSE(FullScreenAppOnMonitorAt(POINT{64, 32}));
}

TEST(FullScreenProbe, AMaximisedWindowIsSeenMaximisedOnItsMonitor) {
    OwnWindow editor(WS_POPUP | WS_THICKFRAME, 400, 300);
    ::ShowWindow(editor.handle, SW_MAXIMIZE);
    ASSERT_TRUE(e2e::BringToForeground(editor.handle));
    const ForegroundWindow seen = ReadForegroundWindow();
    EXPECT_TRUE(seen.maximised);
    EXPECT_EQ(seen.monitor, (Rect{0, 0, 1280, 800}));
}

} // namespace
