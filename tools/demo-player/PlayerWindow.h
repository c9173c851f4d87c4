// The demo player's window. It presents itself to Trackglow exactly as
// Winamp does: a top-level window of class "Winamp v1.x" whose title names
// the playing track, obeying Winamp's Previous and Next commands. For the
// person watching it shows the track, its progress and three buttons.
#pragma once

#include "Playlist.h"
#include "players/PlayerConstants.h"

#include <windows.h>

namespace demo {

// Winamp's command identifiers (WM_COMMAND wParam); the buttons use them too.
constexpr WORD kCommandPrevious = kWinampPrevious;
constexpr WORD kCommandPlay = 40045;
constexpr WORD kCommandPause = 40046; // toggles, as in Winamp
constexpr WORD kCommandNext = kWinampNext;

class PlayerWindow {
  public:
    explicit PlayerWindow(HINSTANCE instance);
    ~PlayerWindow();
    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    // Creates and shows the window and starts playing the first track.
    bool Create(int showCommand);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnCommand(WORD id);
    void OnTick();
    void OnPaint();
    void Paint(HDC dc, const RECT& client);

    void StartTrack();
    void SetPaused(bool paused);
    void Refresh();
    void AnnounceTitle();

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_pauseButton = nullptr;
    HFONT m_textFont = nullptr;
    HFONT m_artistFont = nullptr;
    HFONT m_smallFont = nullptr;
    Playlist m_playlist;
    bool m_paused = false;
    unsigned m_elapsedMs = 0;
};

} // namespace demo
