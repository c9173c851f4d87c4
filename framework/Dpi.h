// The screen's DPI as the system reports it, on every Windows from 7 on: the
// per-monitor functions (Windows 8.1, Windows 10) are looked up when the
// program runs, and the system's one DPI stands in where they are missing.
#pragma once
#include "framework/Gdi.h"
#include <windows.h>

// The DPI the system's fonts were made for.
int SystemDpi();
// The DPI of the monitor that holds `point` (screen coordinates), or of the
// primary monitor when no monitor holds it.
int MonitorDpiAt(POINT point);
// The DPI of the monitor a window is on.
int WindowDpi(HWND window);

// While it lives, text that `dc` measures and draws uses the DC's current
// font scaled from the system's DPI to `dpi`, as the system scales its font
// for a screen of that DPI. At the system's DPI the DC keeps its own font,
// untouched.
class CDpiFont {
  public:
    CDpiFont(HDC dc, int dpi);
    ~CDpiFont();
    CDpiFont(const CDpiFont&) = delete;
    CDpiFont& operator=(const CDpiFont&) = delete;

  private:
    HDC m_hDC;
    CGdiObject<HFONT> m_font;
    HGDIOBJ m_previous = nullptr;
};
