// CWinampWatch: hears Winamp's main window announce a new title. Windows
// raises EVENT_OBJECT_NAMECHANGE whenever a window's title changes; the
// watch hooks that event for Winamp's process only and reports the changes
// of Winamp's main window itself, so a new track needs no poll to be seen.
#pragma once
#include "players/WinEventHook.h"
#include <functional>
#include <optional>

class CWinampWatch {
  public:
    // `renamed` is called on this thread for each title change of the
    // followed window.
    explicit CWinampWatch(std::function<void()> renamed) : m_renamed(std::move(renamed)) {}

    // The window the latest look-up found (null when there was none). A
    // window of another process gets a hook of its own; none, no hook.
    void Follow(HWND winamp);
    HWND Window() const { return m_hwndWinamp; }
    bool Hooked() const { return m_hook.has_value(); }

  private:
    void OnNameChange(const WinEvent& event) const;

    std::function<void()> m_renamed;
    HWND m_hwndWinamp = nullptr;
    std::optional<CWinEventHook> m_hook;
};
