// A skin of the tests' own with one flat tile: every pixel of the pop-up that
// is neither text nor frame nor button has the tile's colour.
#pragma once

#include "support/PopupFace.h"
#include "support/Screen.h"
#include "support/TestInstall.h"

#include <string>

namespace e2e {

// Writes the skin `name` into the install's skins folder: its definition, with
// `colourLines` (the "text=" and "border=" lines, as the program reads them),
// and its 45 × 64 tile of the colour `tile`.
void AddFlatSkin(const TestInstall& install, const std::string& name, const Rgb& tile,
                 const std::string& colourLines);

// The tests' usual flat skin, "Flat": a dark blue tile, yellow text and a
// green frame, colours no shipped skin has.
constexpr char kFlatSkin[] = "Flat";
void InstallFlatSkin(const TestInstall& install);
SkinLook FlatLook();

} // namespace e2e
