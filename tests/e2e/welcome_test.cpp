// The first start: the program has just made its settings file, and its tray
// icon says so in a balloon (shown by the shell, which under Wine is a
// balloon tool tip of the shell's own process beside the tray).
#include "support/CleanExit.h"
#include "support/E2e.h"

#include <gtest/gtest.h>
#include <commctrl.h>

using namespace e2e;

namespace {

// A balloon the shell shows at the moment, or null.
HWND ShellBalloon() {
    DWORD shell = 0;
    GetWindowThreadProcessId(FindWindowA("Shell_TrayWnd", nullptr), &shell);
    struct Search {
        DWORD shell;
        HWND found;
    } search{shell, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            const WindowInfo info = DescribeWindow(window);
            if (owner == s->shell && info.className == "tooltips_class32" && info.visible &&
                (info.style & TTS_BALLOON)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return shell ? search.found : nullptr;
}

} // namespace

TEST(Welcome, TheFirstStartShowsABalloonFromTheTrayIcon) {
    ASSERT_NE(FindWindowA("Shell_TrayWnd", nullptr), nullptr) << "no shell tray in this prefix";
    ASSERT_TRUE(WaitUntil([] { return ShellBalloon() == nullptr; }))
        << "a balloon of some earlier program is still up";
    TestInstall install;
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(install.ReadSettings().has_value());
    EXPECT_TRUE(WaitUntil([] { return ShellBalloon() != nullptr; }))
        << "no balloon appeared at the first start";
    ExitCleanly(program);
}
