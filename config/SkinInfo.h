// A loaded skin: the pop-up's frame brush, text colour and six bitmaps.
#pragma once
#include "framework/Gdi.h"
#include <string>

class CIniFile;

constexpr const char kSkinSection[] = "SKIN";
constexpr const char kSkinDirectory[] = "interface\\";

// What the Preferences preview shows of a skin as well as the pop-up: the
// frame and text colours and the background tiles (one tile repeated, or a
// left end, middle tiles and a right end).
struct SkinBackground {
    CBrush brBorder;
    COLORREF crText = 0;
    CBitmap hbmBackground;
    CBitmap hbmRightEnd;
    CBitmap hbmLeftEnd;

    // Replaces all five from the definition `skin`, whose file names are
    // relative to `folder`. A bitmap that does not load stays empty.
    void Load(const CIniFile& skin, const std::string& folder);
    // Frame and tiles of a pop-up `width` pixels wide with its top-left corner
    // at `origin`. Leaves the last tile's bitmap selected in `memory`.
    void Paint(HDC dc, CMemoryDC& memory, POINT origin, int width) const;
};

struct SkinInfo : SkinBackground {
    CBitmap hbmPrev;
    CBitmap hbmNext;
    CBitmap hbmLyrics;
};

// The skin directory: the executable's directory followed by "interface\",
// unless another folder was set with SetSkinDirectory.
std::string SkinDirectory();
// Makes `directory` (ending in a separator) the skin directory of this
// process; the empty string goes back to the one beside the executable.
// Lets tests bring their own skins.
void SetSkinDirectory(const std::string& directory);
