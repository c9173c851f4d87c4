// A loaded skin: the pop-up's frame brush, text colour and six bitmaps, read
// from a definition in the skin directory, and the painting of its frame and
// background tiles (shared by the pop-up and the Preferences preview).
#pragma once
#include "core/DpiScale.h"
#include "framework/Gdi.h"
#include "skin/SkinDirectory.h"
#include <string>

class CIniFile;

constexpr const char kSkinSection[] = "SKIN";

// What the Preferences preview shows of a skin as well as the pop-up: the
// frame and text colours, the background tiles (one tile repeated, or a
// left end, middle tiles and a right end) and the text's font.
struct SkinBackground {
    CBrush brBorder;
    COLORREF crText = 0;
    CBitmap hbmBackground;
    CBitmap hbmRightEnd;
    CBitmap hbmLeftEnd;
    // The font the skin names (font=, fontsize=, fontweight=); empty for the
    // system font, the device context's own.
    CFont font;

    // Replaces all six from the definition `skin`, whose file names are
    // relative to `folder`. A bitmap that does not load stays empty.
    void Load(const CIniFile& skin, const std::string& folder);
    // Frame and tiles of a pop-up `width` pixels wide at 96 DPI, drawn at
    // `dpi` (every edge scaled, the bitmaps stretched) with its top-left
    // corner at `origin`. Leaves the last tile's bitmap selected in `memory`.
    void Paint(HDC dc, CMemoryDC& memory, POINT origin, int width, int dpi = kDefaultDpi) const;
};

// Copies the top-left `width` x `height` pixels of the bitmap selected in
// `memory` onto `dest`: pixel for pixel when `dest` has that size, otherwise
// stretched with the smooth (halftone) filter.
void DrawSkinPiece(HDC dc, const RECT& dest, HDC memory, int width, int height);

struct SkinInfo : SkinBackground {
    CBitmap hbmPrev;
    CBitmap hbmNext;
    CBitmap hbmLyrics;

    // Replaces everything from the definition "<name>.ini" in the skin
    // directory; a missing definition reads as an empty one.
    void Load(const std::string& name);
    // Deletes the six bitmaps; the brush and colour stay.
    void ReleaseBitmaps();
};

// Reads the definition "<name>.ini" from `folder` (created empty when missing).
CIniFile LoadSkinDefinition(const std::string& folder, const std::string& name);
