// One running trackglow.exe, started from a TestInstall, and the ways a test
// reaches it: its windows, its menu commands, its tray callback, its exit.
//
// The destructor kills the process if it is still running, so a failing
// test never leaves a program behind.
#pragma once

#include "support/ChildProcess.h"
#include "support/Wait.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

class TestInstall;

// The timers' identifiers: a WM_TIMER with one of them is that timer's tick.
constexpr UINT_PTR kPollTimer = 0;
constexpr UINT_PTR kHideTimer = 1;
// The program's menu commands (WM_COMMAND identifiers).
constexpr UINT kCommandExit = 130;
constexpr UINT kCommandPreferences = 131;
constexpr UINT kCommandToggle = 134;
constexpr UINT kCommandAbout = 135;
// The tray icon's callback message and identifier.
constexpr UINT kTrayCallback = WM_USER + 1;
constexpr WPARAM kTrayIconId = 4;

// Facts about one top-level window, for finding and checking windows.
struct WindowInfo {
    HWND window = nullptr;
    std::string className;
    std::string title;
    LONG style = 0;
    LONG exStyle = 0;
    RECT rect = {};
    bool visible = false;
};

WindowInfo DescribeWindow(HWND window);

class RunningProgram {
  public:
    // Starts trackglow.exe of the install, with the install as its current
    // folder. Throws when the process cannot be created.
    explicit RunningProgram(const TestInstall& install);
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD ProcessId() const { return m_process.ProcessId(); }
    HANDLE Process() const { return m_process.Handle(); }
    bool IsRunning() const { return m_process.IsRunning(); }

    // Every top-level window of the process, visible or not.
    std::vector<WindowInfo> Windows() const;

    // Waits until the main window (the process's dialog, class "#32770") is
    // visible and answers messages. It is remembered, and later dialogs of
    // the process (Preferences, About) are told apart from it. Returns null
    // when it did not appear in time or the process ended.
    HWND WaitForMainWindow(DWORD timeoutMs = kGenerousMs);
    // The main window found by WaitForMainWindow (null before).
    HWND MainWindow() const { return m_mainWindow; }
    // The hidden 10 × 10 WS_POPUP window that receives the tray icon's
    // notifications (null when there is none).
    HWND FindTrayWindow() const;
    // Visible dialogs of the process other than the main window.
    std::vector<HWND> OtherDialogs() const;
    // Those of them with this title.
    std::vector<HWND> DialogsTitled(const std::string& title) const;
    // Waits for one of them with this title; null when none appeared in time.
    HWND WaitForDialog(const std::string& title, DWORD timeoutMs = kGenerousMs) const;

    // Waits for a top-level window of the process that `match` accepts;
    // null when none appeared in time.
    HWND WaitForWindow(const std::function<bool(const WindowInfo&)>& match,
                       DWORD timeoutMs = kGenerousMs) const;
    // Waits for a visible pop-up menu (class "#32768") of the process, such
    // as the tray menu after PostTrayNotify(WM_RBUTTONUP).
    HWND WaitForPopupMenu(DWORD timeoutMs = kGenerousMs) const;

    // Whether the main window's thread handles a message within the time
    // (a round trip with WM_NULL): the program is alive and not hung.
    bool IsResponsive(DWORD timeoutMs = kGenerousMs) const;

    // Posts WM_COMMAND with the identifier to the main window.
    void PostCommand(UINT id) const;
    // Sends it and waits until the handler has returned; false when the
    // program did not answer in time. Not for commands that open a modal
    // dialog (Preferences, About): their handlers return only when it closes.
    bool SendCommand(UINT id, DWORD timeoutMs = kGenerousMs) const;
    // Posts the tray icon's callback message to `target` (the main window
    // when null) as the shell would: wParam the icon identifier, lParam the
    // mouse message.
    void PostTrayNotify(UINT mouseMessage, WPARAM iconId = kTrayIconId,
                        HWND target = nullptr) const;
    // Sends it instead and waits until it has been handled; false when the
    // program did not answer in time (a menu or dialog it opened still runs).
    bool SendTrayNotify(UINT mouseMessage, WPARAM iconId = kTrayIconId,
                        HWND target = nullptr) const;

    // Delivers a tick of the poll timer and waits until the poll has run:
    // the program cannot tell it from its own ticks. False when it did not
    // answer in time.
    bool TickPoll() const;
    // The same for the hide timer, which hides the pop-up once its hold is
    // over and no button is hovered.
    bool TickHideTimer() const;
    // The program's animation threads running now: its threads that started
    // in its own code, beside the one that owns the main window. An animation
    // started by a handler that returned is counted until it has ended, so
    // right after a barrier 0 proves that none was started. -1 when the
    // threads cannot be read.
    int AnimationThreads() const;

    // Waits for the process to end (dispatching the driver's messages) and
    // returns its exit code, or nothing if it still runs after the time.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kGenerousMs) {
        return m_process.WaitForExit(timeoutMs);
    }
    // Ends the process at once and waits for it.
    void Kill() { m_process.Kill(); }

  private:
    ChildProcess m_process;
    HWND m_mainWindow = nullptr;
};

} // namespace e2e
