#include "core/PopupLayout.h"

#include <climits>
#include <cstdint>
#include <initializer_list>

int PopupWidthForText(int textWidth) {
    // 64-bit arithmetic so that no measured width can overflow; the result is
    // capped at the widest whole-tile width an int holds.
    constexpr int64_t kMaxTiles = (INT_MAX - 2) / kTileWidth;
    const int64_t c = static_cast<int64_t>(textWidth < 0 ? 0 : textWidth) + kTileWidth;
    if (c <= kMinPopupWidth)
        return kMinPopupWidth;
    int64_t tiles = (c - 3) / kTileWidth + 1; // ((c-3)/45)*45 + 47 == 2 + 45*tiles
    if (tiles > kMaxTiles)
        tiles = kMaxTiles;
    return static_cast<int>(2 + kTileWidth * tiles);
}

int PopupTileCount(int popupWidth) {
    return popupWidth < 2 ? 0 : (popupWidth - 2) / kTileWidth;
}

PopupLayout ComputePopupLayout(int textWidth) {
    PopupLayout p;
    p.layout = {0, 0, PopupWidthForText(textWidth), kPopupHeight};
    const int l = p.layout.left, t = p.layout.top, r = p.layout.right, b = p.layout.bottom;
    p.text = {l + 10, t + 9, r - 10, b - 9};
    // A column of buttons at the right edge, 3 pixels apart.
    const int w = kButtonWidth, h = kButtonHeight;
    p.lyrics = {r - 20, b - 22, r - 20 + w, b - 22 + h};
    p.next = {r - 20, b - 41, r - 20 + w, b - 41 + h};
    p.prev = {r - 20, b - 60, r - 20 + w, b - 60 + h};
    // The caption sits on the bottom row, right-aligned just left of Lyrics.
    p.caption = {r - 84, b - 22, r - 25, b - 6};
    p.baseWidth = p.layout.Width();
    return p;
}

PopupLayout ComputePopupLayout(int textWidth, int dpi) {
    PopupLayout p = ComputePopupLayout(UnscaleForDpi(textWidth, dpi));
    for (Rect* rect : {&p.layout, &p.text, &p.prev, &p.next, &p.lyrics, &p.caption})
        *rect = ScaleRect(*rect, dpi);
    p.dpi = UsableDpi(dpi);
    return p;
}

Rect ScaleRect(const Rect& rect, int dpi) {
    return {ScaleForDpi(rect.left, dpi), ScaleForDpi(rect.top, dpi), ScaleForDpi(rect.right, dpi),
            ScaleForDpi(rect.bottom, dpi)};
}

Rect PopupOutline(int baseWidth, int dpi) {
    return ScaleRect({0, 0, baseWidth, kPopupHeight}, dpi);
}

Rect PopupInsideFrame(int baseWidth, int dpi) {
    return ScaleRect({1, 1, baseWidth - 1, kPopupHeight - 1}, dpi);
}

Rect PopupTileRect(int index, int dpi) {
    const int left = 1 + kTileWidth * index;
    return ScaleRect({left, 1, left + kTileWidth, 1 + kTileHeight}, dpi);
}
