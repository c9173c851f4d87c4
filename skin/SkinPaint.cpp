// Painting a skin's frame and background tiles, shared by the pop-up and the
// Preferences preview.
#include "core/PopupLayout.h"
#include "skin/SkinInfo.h"

namespace {

// The frame is whatever lies between the pop-up's outline and the tiles: one
// pixel at 96 DPI, its scaled width (rounded per edge) at other DPIs.
void PaintFrame(HDC dc, HBRUSH brush, const RECT& outer, const RECT& inner) {
    const RECT sides[] = {{outer.left, outer.top, outer.right, inner.top},
                          {outer.left, inner.bottom, outer.right, outer.bottom},
                          {outer.left, inner.top, inner.left, inner.bottom},
                          {inner.right, inner.top, outer.right, inner.bottom}};
    for (const RECT& side : sides) {
        if (side.right > side.left && side.bottom > side.top)
            ::FillRect(dc, &side, brush);
    }
}

} // namespace

void DrawSkinPiece(HDC dc, const RECT& dest, HDC memory, int width, int height) {
    const int destWidth = dest.right - dest.left, destHeight = dest.bottom - dest.top;
    if (destWidth <= 0 || destHeight <= 0)
        return; // nothing laid out yet
    if (destWidth == width && destHeight == height) {
        ::BitBlt(dc, dest.left, dest.top, width, height, memory, 0, 0, SRCCOPY);
        return;
    }
    // Halftone averages the source pixels each target pixel covers; it wants
    // the brush origin set after the mode.
    const int mode = ::SetStretchBltMode(dc, HALFTONE);
    POINT brushOrigin{};
    ::SetBrushOrgEx(dc, 0, 0, &brushOrigin);
    ::StretchBlt(dc, dest.left, dest.top, destWidth, destHeight, memory, 0, 0, width, height,
                 SRCCOPY);
    ::SetBrushOrgEx(dc, brushOrigin.x, brushOrigin.y, nullptr);
    if (mode)
        ::SetStretchBltMode(dc, mode);
}

void SkinBackground::Paint(HDC dc, CMemoryDC& memory, POINT origin, int width, int dpi) const {
    memory.SelectBitmap(hbmBackground);
    if (brBorder)
        PaintFrame(dc, brBorder, ToRECT(PopupOutline(width, dpi), origin),
                   ToRECT(PopupInsideFrame(width, dpi), origin));

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
        DrawSkinPiece(dc, ToRECT(PopupTileRect(i, dpi), origin), memory, kTileWidth, kTileHeight);
    }
}
