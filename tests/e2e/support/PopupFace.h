// The face of the pop-up at rest, as a skin and a text should paint it, drawn
// here from the skin's own bitmap files and compared with the screen.
//
// The geometry is written down here, not taken from the program: a frame of
// one pixel, 45 x 64 tiles from (1, 1), the buttons (13 x 16) at the right
// edge, the track text from (10, 9) and the hovered button's caption
// right-aligned on the bottom row left of the Lyrics button, both drawn
// with DrawTextA in the default font.
#pragma once

#include "support/Screen.h"
#include "support/TestInstall.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// What a skin paints with: its bitmap files (relative to the skins folder)
// and its colours.
struct SkinLook {
    std::string middle;      // the background tile; empty when no tile loads
    std::string left, right; // the end tiles of a three-piece skin, else empty
    std::string icons;       // what comes before prev.bmp, next.bmp and lyr.bmp
    Rgb text;
    Rgb border;
    bool shippedFont = false; // text in the shipped skins' font (else the default font)
};

// The shipped default skin, as its definition describes it.
SkinLook DefaultSkinLook();

class PopupFace {
  public:
    // The pop-up `width` pixels wide in the skin of the install, showing
    // `text` and, when not null, the hovered button's caption. Without a
    // background tile only the frame and the buttons are known.
    PopupFace(const TestInstall& install, const SkinLook& look, int width,
              const std::string& text = "", const char* caption = nullptr);

    int Width() const { return m_width; }
    // Pixels of the pop-up at its resting place on the screen that differ
    // (only the part that lies on the screen is compared).
    int Mismatches(const ScreenCapture& capture) const;

  private:
    int m_width;
    std::vector<Rgb> m_pixels;
    std::vector<bool> m_known;
};

// Waits (generously: repaints and other windows come and go) until the
// pop-up rests with this face on top of the screen. On failure a screenshot
// is saved as `artifact`.
testing::AssertionResult ShowsFace(HWND main, const PopupFace& face, const std::string& artifact);

} // namespace e2e
