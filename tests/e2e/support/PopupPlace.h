// Where the pop-up shows on the screen, as a user sees it. Written down here
// rather than taken from the program's code, so that a test notices when the
// program moves or resizes its pop-up.
#pragma once

#include "support/Geometry.h"

#include <string>

namespace e2e {

// At rest with no text or a short one: seven 45-pixel tiles and the frame,
// with its top-left corner at (64, 32).
constexpr Box kPopupAtRest{64, 32, 317, 66};

// At rest, `width` pixels wide.
constexpr Box PopupAtRest(int width) {
    return Box{kPopupAtRest.x, kPopupAtRest.y, width, kPopupAtRest.height};
}

// How wide the pop-up rests with this track text: whole 45-pixel tiles, at
// least seven, and the 2-pixel frame, so that the text rectangle (10 pixels
// in from either side) is at least 25 pixels wider than the text as DrawTextA
// measures it in the default font.
int RestingWidth(const std::string& text);
// The same for a skin that writes in the shipped skins' font.
int RestingWidthInShippedFont(const std::string& text);

// At rest, whatever its width.
bool IsAtRest(const Box& box);

// Where a hide leaves it: a sliver six pixels high and at most one wide at
// the screen's top-left corner.
bool IsSliver(const Box& box);

} // namespace e2e
