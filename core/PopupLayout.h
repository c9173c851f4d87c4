#pragma once
// The pop-up's geometry: its width for a measured text, and where the text,
// the three buttons and the hover caption go. Coordinates are the window's own.

#include "core/DpiScale.h"
#include "core/Rect.h"

constexpr int kPopupHeight = 66;
constexpr int kTileWidth = 45, kTileHeight = 64;
constexpr int kMinPopupWidth = 317;                  // seven tiles and the frame
constexpr int kRestX = 64, kRestY = 32;              // where the pop-up rests on the screen
constexpr int kInitialPopupWidth = 400;              // the layout's width before the first layout
constexpr int kButtonWidth = 13, kButtonHeight = 16; // the buttons' bitmaps

// The width for a text of `textWidth` pixels: a whole number of tiles (at
// least seven) plus the frame, leaving at least 25 pixels beside the text.
int PopupWidthForText(int textWidth);
// How many background tiles a pop-up of this width holds.
int PopupTileCount(int popupWidth);

struct PopupLayout {
    Rect layout, text, prev, next, lyrics, caption;
    int baseWidth = 0;     // the width at 96 DPI, which sets the number of tiles
    int dpi = kDefaultDpi; // the DPI the rectangles are for
};

PopupLayout ComputePopupLayout(int textWidth);
// The same at `dpi`, for a text measured `textWidth` pixels wide at that DPI:
// the tiles are chosen as at 96 DPI for the text's 96-DPI width, and every
// edge is its 96-DPI place scaled and rounded. At 96 DPI it is the layout above.
PopupLayout ComputePopupLayout(int textWidth, int dpi);

// Every edge of `rect` (96-DPI pixels) scaled to `dpi`.
Rect ScaleRect(const Rect& rect, int dpi);

// Pieces of a pop-up `baseWidth` pixels wide at 96 DPI, drawn at `dpi`, in
// its own coordinates: the whole pop-up, what lies inside its frame, and the
// background tile `index` (45 x 64 from (1, 1) at 96 DPI). Scaling each edge
// on its own keeps neighbouring tiles edge to edge, with no gap or overlap.
Rect PopupOutline(int baseWidth, int dpi);
Rect PopupInsideFrame(int baseWidth, int dpi);
Rect PopupTileRect(int index, int dpi);
