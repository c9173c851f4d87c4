// Text measured the way the program measures its track text.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// The rectangle DrawTextA computes for the text (DT_CALCRECT, DT_NOPREFIX)
// in the default font of the screen's DC, from (0, 0).
RECT MeasureText(const std::string& text);

// The same in the shipped skins' font: 10-point Tahoma (their definitions'
// font= and fontsize=), at the screen's DPI.
RECT MeasureTextInShippedFont(const std::string& text);
// That font, for the caller to delete.
HFONT CreateShippedFont();

} // namespace e2e
