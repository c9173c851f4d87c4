// A loaded skin: the pop-up's frame brush, text colour and six bitmaps.
#pragma once
#include "framework/Gdi.h"
#include <string>

struct SkinInfo {
    CBrush brBorder;
    COLORREF crText = 0;
    CBitmap hbmBackground;
    CBitmap hbmRightEnd;
    CBitmap hbmLeftEnd;
    CBitmap hbmPrev;
    CBitmap hbmNext;
    CBitmap hbmLyrics;
};

constexpr const char kSkinSection[] = "SKIN";
constexpr const char kSkinDirectory[] = "interface\\";

// The skin directory: the executable's directory followed by "interface\",
// unless another folder was set with SetSkinDirectory.
std::string SkinDirectory();
// Makes `directory` (ending in a separator) the skin directory of this
// process; the empty string goes back to the one beside the executable.
// Lets tests bring their own skins.
void SetSkinDirectory(const std::string& directory);
