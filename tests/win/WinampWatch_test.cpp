// Hearing Winamp's title changes: the WinEvent hook's owner, the watch that
// hears only Winamp's main window, and the Winamp source that keeps the watch
// on whichever Winamp its polls find.
#include "players/WinampSource.h"
#include "support/ChildProcess.h"
#include "support/FakeWinamp.h"
#include "support/Wait.h"
#include "tests/fakes/RegistryValueSwap.h"

#include <gtest/gtest.h>

#include <memory>

using namespace e2e;

namespace {

// Raises a name change of this process as a player does (see FakeWinamp).
void Raise(HWND window, LONG objectId, LONG childId) {
    MSG msg;
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, objectId, childId);
}

// Counts every name change of this process: once it has heard an event, every
// other hook of this thread has been handed that event too.
struct Sentinel {
    int heard = 0;
    CWinEventHook hook{EVENT_OBJECT_NAMECHANGE, GetCurrentProcessId(),
                       [this](const WinEvent&) { ++heard; }};
};

// The demo player, a Winamp of a process of its own that announces each new
// title; Next moves it to its next track.
class DemoPlayer {
  public:
    DemoPlayer() : m_process("\"" + fakes::BesideThisProgram("demo-player.exe") + "\"", ".") {
        WaitUntil([&] { return (m_window = Find()) != nullptr; });
    }
    ~DemoPlayer() {
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        m_process.WaitForExit();
    }
    HWND Window() const { return m_window; }
    void Next() const { SendMessageA(m_window, WM_COMMAND, kWinampNext, 0); }

  private:
    HWND Find() const {
        for (HWND w = FindWindowExA(nullptr, nullptr, kWinampClass, nullptr); w;
             w = FindWindowExA(nullptr, w, kWinampClass, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == m_process.ProcessId())
                return w;
        }
        return nullptr;
    }
    ChildProcess m_process;
    HWND m_window = nullptr;
};

} // namespace

TEST(WinEventHook, HearsItsProcessUntilItGoes) {
    FakeWinamp winamp;
    Sentinel sentinel;
    int heard = 0;
    {
        CWinEventHook hook(EVENT_OBJECT_NAMECHANGE, GetCurrentProcessId(),
                           [&](const WinEvent& event) {
                               EXPECT_EQ(event.window, winamp.Window());
                               ++heard;
                           });
        ASSERT_TRUE(hook.Installed());
        winamp.AnnounceRename();
        ASSERT_TRUE(WaitUntil([&] { return heard == 1; }));
    }
    winamp.AnnounceRename();
    ASSERT_TRUE(WaitUntil([&] { return sentinel.heard == 2; }));
    EXPECT_EQ(heard, 1) << "nothing reaches a hook that went";
}

TEST(WinampWatch, HearsOnlyTheTitleOfWinampsMainWindow) {
    FakeWinamp winamp, other("Another window");
    int heard = 0;
    CWinampWatch watch([&] { ++heard; });
    watch.Follow(winamp.Window());
    Sentinel sentinel;
    Raise(winamp.Window(), OBJID_CLIENT, CHILDID_SELF);
    Raise(winamp.Window(), OBJID_WINDOW, 1);
    Raise(other.Window(), OBJID_WINDOW, CHILDID_SELF);
    winamp.SetTitle("1. Artist - Song - Winamp");
    ASSERT_TRUE(WaitUntil([&] { return sentinel.heard == 4; }));
    EXPECT_EQ(heard, 1);
}

TEST(WinampWatch, HooksTheProcessOfAWinampThatReplacesTheOld) {
    FakeWinamp here;
    int heard = 0;
    CWinampWatch watch([&] { ++heard; });
    watch.Follow(here.Window());
    DemoPlayer there;
    ASSERT_NE(there.Window(), nullptr);
    watch.Follow(there.Window());
    there.Next();
    EXPECT_TRUE(WaitUntil([&] { return heard > 0; })) << "no hook for the new process";
}

TEST(WinampSource, FollowsWinampThroughItsPolls) {
    CWinampSource source;
    source.SetEnabled(true);
    int heard = 0;
    source.SetAnnounce([&] { ++heard; });
    source.Poll();
    EXPECT_FALSE(source.Hooked()) << "no Winamp, no hook";

    auto winamp = std::make_unique<FakeWinamp>("1. Artist - One - Winamp");
    source.Poll();
    EXPECT_EQ(source.WatchedWindow(), winamp->Window());
    winamp->SetTitle("2. Artist - Two - Winamp");
    EXPECT_TRUE(WaitUntil([&] { return heard == 1; }));

    winamp.reset();
    source.Poll();
    EXPECT_FALSE(source.Hooked()) << "a Winamp that quit leaves no hook behind";
    EXPECT_EQ(source.WatchedWindow(), nullptr);

    winamp = std::make_unique<FakeWinamp>("1. Artist - One - Winamp");
    source.Poll();
    EXPECT_EQ(source.WatchedWindow(), winamp->Window());
    winamp->SetTitle("3. Artist - Three - Winamp");
    EXPECT_TRUE(WaitUntil([&] { return heard == 2; }));

    source.SetAnnounce(nullptr);
    EXPECT_FALSE(source.Hooked());
    source.SetAnnounce([&] { ++heard; });
    source.Poll();
    source.SetEnabled(false);
    EXPECT_FALSE(source.Hooked()) << "a source switched off hears nothing";
}
