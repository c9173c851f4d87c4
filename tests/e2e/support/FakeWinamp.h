// A stand-in for the Winamp player: a top-level window of class
// "Winamp v1.x" on the driver's thread, whose title the test sets and which
// records every WM_COMMAND it receives.
//
// The program sends its Previous and Next commands synchronously; they are
// handled when the driver dispatches messages, so tests wait with the
// helpers of Wait.h (which dispatch) rather than Sleep.
#pragma once

#include "players/PlayerConstants.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct ReceivedCommand {
    WPARAM wParam;
    LPARAM lParam;
};

class FakeWinamp {
  public:
    // Creates the window (hidden) with this title, set in the driver's ANSI
    // code page.
    explicit FakeWinamp(const std::string& title = "Winamp 2.95");
    // Creates a Unicode window (RegisterClassW, CreateWindowExW), whose title
    // holds any script as a real Winamp's does; an ANSI window would keep
    // only what the driver's code page can hold. Not beside an ANSI fake:
    // the one window class is registered either way.
    explicit FakeWinamp(const std::wstring& title);
    ~FakeWinamp();
    FakeWinamp(const FakeWinamp&) = delete;
    FakeWinamp& operator=(const FakeWinamp&) = delete;

    HWND Window() const { return m_window; }
    void SetTitle(const std::string& title);
    void SetTitle(const std::wstring& title);
    std::string Title() const;

    // The commands received so far, oldest first.
    const std::vector<ReceivedCommand>& Commands() const { return m_commands; }
    // Just their wParam values.
    std::vector<WPARAM> CommandIds() const;
    void ClearCommands() { m_commands.clear(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::vector<ReceivedCommand> m_commands;
};

} // namespace e2e
