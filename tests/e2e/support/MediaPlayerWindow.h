// A stand-in for the media player's main window, and the host the program
// makes for the player's control while such a window is visible.
#pragma once

#include "support/RunningProgram.h"

#include <windows.h>

namespace e2e {

// A top-level window titled "Windows Media Player", out of the pop-up's way.
class MediaPlayerWindow {
  public:
    explicit MediaPlayerWindow(bool visible = true);
    ~MediaPlayerWindow();
    MediaPlayerWindow(const MediaPlayerWindow&) = delete;
    MediaPlayerWindow& operator=(const MediaPlayerWindow&) = delete;

    HWND Get() const { return m_window; }
    void Show(bool visible);
    void Close();

  private:
    HWND m_window = nullptr;
};

// The program's hidden dialog that hosts the player's control ("ActiveX"),
// or null when it has none.
HWND PlayerHostWindow(const RunningProgram& program);

} // namespace e2e
