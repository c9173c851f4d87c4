// A stand-in for the Winamp player: a top-level window of class
// "Winamp v1.x" on the driver's thread, whose title the test sets and which
// records every WM_COMMAND it receives.
//
// Like Windows, it announces each new title with EVENT_OBJECT_NAMECHANGE
// (Wine raises none for a title change); a silent fake leaves its changes to
// the program's poll.
//
// The program sends its Previous and Next commands synchronously; they are
// handled when the driver dispatches messages, so tests wait with the
// helpers of Wait.h (which dispatch) rather than Sleep.
#pragma once

#include "players/PlayerConstants.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace e2e {

struct ReceivedCommand {
    WPARAM wParam;
    LPARAM lParam;
};

// Whether a title change is announced.
enum class Renames { Announced, Silent };

class FakeWinamp {
  public:
    // Creates the window (hidden) with this title, set in the driver's ANSI
    // code page.
    explicit FakeWinamp(const std::string& title = "Winamp 2.95",
                        Renames renames = Renames::Announced);
    // Creates a Unicode window (RegisterClassW, CreateWindowExW), whose title
    // holds any script as a real Winamp's does; an ANSI window would keep
    // only what the driver's code page can hold. Not beside an ANSI fake:
    // the one window class is registered either way.
    explicit FakeWinamp(const std::wstring& title, Renames renames = Renames::Announced);
    ~FakeWinamp();
    FakeWinamp(const FakeWinamp&) = delete;
    FakeWinamp& operator=(const FakeWinamp&) = delete;

    HWND Window() const { return m_window; }
    // Sets the title (also when another thread or process sets it through
    // WM_SETTEXT) and announces it unless the fake is silent.
    void SetTitle(const std::string& title);
    void SetTitle(const std::wstring& title);
    std::string Title() const;
    void SetRenames(Renames renames) { m_renames = renames; }
    // Raises EVENT_OBJECT_NAMECHANGE for the window once more, as a player
    // does that sets its title in several steps.
    void AnnounceRename() const;
    // How many times the title was read through WM_GETTEXT (a program in the
    // same process reads it so; another process's read never asks the window).
    int TextReads() const { return m_textReads; }

    // The commands received so far, oldest first.
    const std::vector<ReceivedCommand>& Commands() const { return m_commands; }
    // Just their wParam values.
    std::vector<WPARAM> CommandIds() const;
    void ClearCommands() { m_commands.clear(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::atomic<Renames> m_renames;
    std::atomic<int> m_textReads{0};
    std::vector<ReceivedCommand> m_commands;
};

} // namespace e2e
