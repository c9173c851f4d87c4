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

// Its width for this text (as the driver measures it): whole 45-pixel tiles
// and the frame, never fewer than seven tiles.
int PopupWidthFor(const std::string& text);

// At rest, whatever its width.
bool IsAtRest(const Box& box);

// Where a hide leaves it: a sliver six pixels high and at most one wide at
// the screen's top-left corner.
bool IsSliver(const Box& box);

} // namespace e2e
