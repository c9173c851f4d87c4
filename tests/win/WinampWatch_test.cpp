// Hearing Winamp's title changes: the hook's owner, the watch that hears
// only Winamp's main window in whichever process it is, and the source that
// keeps the watch on the Winamp its polls find.
#include "players/WinampSource.h"
#include "support/ChildProcess.h"
#include "support/FakeWinamp.h"
#include "support/Wait.h"
#include "tests/fakes/RegistryValueSwap.h"

#include <gtest/gtest.h>

#include <memory>

using namespace e2e;

namespace {

// Counts the name changes of this process: once it has one, every hook of
// this thread has been handed it.
struct Sentinel {
    int heard = 0;
    CWinEventHook hook{EVENT_OBJECT_NAMECHANGE, GetCurrentProcessId(),
                       [this](const WinEvent&) { ++heard; }};
};

// Raises a name change as a player does (see FakeWinamp).
void Raise(HWND window, LONG objectId, LONG childId) {
    MSG msg;
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, objectId, childId);
}

// The demo player's window: a Winamp in a process of its own.
HWND WinampOf(const ChildProcess& process) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (found = FindWindowExA(nullptr, nullptr, kWinampClass, nullptr); found;
             found = FindWindowExA(nullptr, found, kWinampClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == process.ProcessId())
                return true;
        }
        return false;
    });
    return found;
}

} // namespace

TEST(WinampWatch, HearsWinampsMainWindowInWhicheverProcessItIs) {
    FakeWinamp winamp, other("Another window");
    int heard = 0;
    CWinampWatch watch([&] { ++heard; });
    watch.Follow(winamp.Window());
    Sentinel sentinel;
    Raise(winamp.Window(), OBJID_CLIENT, CHILDID_SELF);
    Raise(winamp.Window(), OBJID_WINDOW, 1);
    Raise(other.Window(), OBJID_WINDOW, CHILDID_SELF);
    winamp.AnnounceRename();
    ASSERT_TRUE(WaitUntil([&] { return sentinel.heard == 4; }));
    EXPECT_EQ(heard, 1) << "only the main window's own name";

    ChildProcess demo("\"" + fakes::BesideThisProgram("demo-player.exe") + "\"", ".");
    watch.Follow(WinampOf(demo));
    SendMessageA(watch.Window(), WM_COMMAND, kWinampNext, 0); // a new title, announced
    EXPECT_TRUE(WaitUntil([&] { return heard == 2; })) << "no hook for the new process";
    PostMessageA(watch.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(demo.WaitForExit(), 0u);
}

TEST(WinEventHook, NothingReachesAHookThatWent) {
    FakeWinamp winamp;
    Sentinel sentinel;
    int heard = 0;
    {
        CWinEventHook hook(EVENT_OBJECT_NAMECHANGE, GetCurrentProcessId(),
                           [&](const WinEvent&) { ++heard; });
        winamp.AnnounceRename();
        ASSERT_TRUE(WaitUntil([&] { return heard == 1; }));
    }
    winamp.AnnounceRename();
    ASSERT_TRUE(WaitUntil([&] { return sentinel.heard == 2; }));
    EXPECT_EQ(heard, 1);
}

TEST(WinampSource, KeepsItsHookOnTheWinampItFinds) {
    CWinampSource source;
    source.SetEnabled(true);
    int heard = 0;
    source.SetAnnounce([&] { ++heard; });
    auto winamp = std::make_unique<FakeWinamp>("1. Artist - One - Winamp");
    source.Poll();
    EXPECT_EQ(source.WatchedWindow(), winamp->Window());
    winamp->SetTitle("2. Artist - Two - Winamp");
    EXPECT_TRUE(WaitUntil([&] { return heard == 1; }));

    winamp.reset();
    source.Poll();
    EXPECT_FALSE(source.Hooked()) << "a Winamp that quit leaves no hook behind";
    winamp = std::make_unique<FakeWinamp>("1. Artist - One - Winamp");
    source.Poll();
    EXPECT_EQ(source.WatchedWindow(), winamp->Window()) << "a new one is followed";
    source.SetAnnounce(nullptr);
    EXPECT_FALSE(source.Hooked()) << "nothing is heard any more";
}
