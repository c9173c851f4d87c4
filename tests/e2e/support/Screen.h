// Reading what is on the screen, and saving it as PNG for a person to look at.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

bool operator==(const Rgb& a, const Rgb& b);
bool operator!=(const Rgb& a, const Rgb& b);
std::ostream& operator<<(std::ostream& out, const Rgb& colour);
// From the GDI COLORREF form (0x00BBGGRR).
Rgb FromColorRef(COLORREF colour);

// Lets `paint` draw into a 32-bit bitmap of the given size, selected into a
// memory DC compatible with the screen, and returns the bitmap's pixels, rows
// top to bottom. Throws when the bitmap cannot be made.
std::vector<Rgb> PaintedPixels(int width, int height, const std::function<void(HDC)>& paint);

// The pixels of a screen rectangle, copied at one moment (BitBlt from the
// screen into a 32-bit DIB section).
class ScreenCapture {
  public:
    // Captures the given screen rectangle (clipped to the screen).
    explicit ScreenCapture(const RECT& area);
    // Captures the whole screen.
    static ScreenCapture WholeScreen();

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // A pixel in screen coordinates; the point must lie inside the capture.
    Rgb At(int screenX, int screenY) const;
    // How many pixels of the capture have exactly this colour.
    int Count(const Rgb& colour) const;

    std::string EncodePng() const;
    void SavePng(const std::string& path) const;

  private:
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_pixels; // rows top to bottom
};

// One pixel of the screen, read now.
Rgb ScreenPixel(int x, int y);

// Saves the whole screen (or the given area) as TG_BUILD\artifacts\<name>.png
// and returns the file's path.
std::string SaveScreenshot(const std::string& name);
std::string SaveScreenshot(const std::string& name, const RECT& area);

// Without a system tray on the X display, Wine shows its own "Wine System
// Tray" window at (0, 0), over the pop-up's resting place, once a program
// adds an icon. Waits for that window and moves it to the screen's
// bottom-right corner; fails, saying where it stays, when it cannot.
testing::AssertionResult MoveWineSystemTrayAway();

} // namespace e2e
