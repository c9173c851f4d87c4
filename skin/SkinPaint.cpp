// Painting a skin's frame and background tiles, shared by the pop-up and the
// Preferences preview.
#include "core/PopupLayout.h"
#include "skin/SkinInfo.h"

void SkinBackground::Paint(HDC dc, CMemoryDC& memory, POINT origin, int width) const {
    memory.SelectBitmap(hbmBackground);
    RECT frame{origin.x, origin.y, origin.x + width, origin.y + kPopupHeight};
    if (brBorder)
        ::FrameRect(dc, &frame, brBorder);

    // A three-piece background needs its right end; without it every tile is
    // the middle tile. A bitmap that did not load cannot be selected, so the
    // one before it stays: a missing left end shows the middle tile.
    const int tiles = PopupTileCount(width);
    for (int i = 0; i < tiles; ++i) {
        if (hbmRightEnd) {
            if (i == 0)
                memory.SelectBitmap(hbmLeftEnd);
            else if (i == 1)
                memory.SelectBitmap(hbmBackground);
            else if (i == tiles - 1)
                memory.SelectBitmap(hbmRightEnd);
        }
        ::BitBlt(dc, origin.x + 1 + kTileWidth * i, origin.y + 1, kTileWidth, kTileHeight, memory,
                 0, 0, SRCCOPY);
    }
}
