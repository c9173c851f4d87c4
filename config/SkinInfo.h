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

// The skin directory: the executable's directory followed by "interface\".
std::string SkinDirectory();
