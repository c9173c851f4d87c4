// The start and the end most end-to-end tests share: a private install with
// the test's settings file, the program started from it, Wine's tray window
// moved off the pop-up's resting place and the cursor parked away from the
// pop-up; at the end the program's own Exit, expecting exit code 0.
//
//   Session session(kWatchWinamp, InstallFlatSkin);
//   FakeWinamp winamp("1. Artist - Song - Winamp");
//   ASSERT_TRUE(session.Program().TickPoll());
//   ASSERT_GT(session.WaitForRest(RestingWidth("Artist\nSong\nWinamp")), 0);
//   // ... the destructor exits the program, or session.Exit() earlier.
#pragma once

#include "support/Geometry.h"
#include "support/RunningProgram.h"
#include "support/TestInstall.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace e2e {

class Session {
  public:
    using Prepare = std::function<void(const TestInstall&)>;

    // `settings` are the settings file's bytes (none: no settings file);
    // `prepare` may write into the install before the program starts.
    // Throws (which fails the test) when the main window does not come up.
    explicit Session(const std::optional<std::string>& settings, const Prepare& prepare = nullptr);
    // Exits the program unless the test already did or it has ended.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    TestInstall& Install() { return *m_install; }
    RunningProgram& Program() { return *m_program; }
    HWND Main() const { return m_main; }

    // The Exit command, expecting the process to end with exit code 0.
    void Exit();

    // Waits until the pop-up rests `width` pixels wide, or at rest with any
    // width when 0. Returns its width at rest, or 0 when it never got there.
    int WaitForRest(int width = 0) const;
    // Waits until the pop-up is hidden and no animation runs any more.
    testing::AssertionResult WaitForHidden() const;
    // Waits until no animation runs (the pop-up is still).
    testing::AssertionResult WaitUntilStill() const;
    // The toggle command (ignored while an animation runs), repeated until
    // the collapse has begun, then waits for the pop-up to be hidden.
    testing::AssertionResult HideNow() const;

    // Ticks the poll and proves that it started nothing: once the tick has
    // been handled no animation runs and the pop-up is where it was.
    testing::AssertionResult PollShowsNothing() const;

  private:
    std::unique_ptr<TestInstall> m_install;
    std::unique_ptr<RunningProgram> m_program;
    HWND m_main = nullptr;
    bool m_exited = false;
};

// Hidden: never shown yet (no size at the screen's corner), or the sliver a
// hide leaves there.
bool IsHidden(const Box& box);

} // namespace e2e
