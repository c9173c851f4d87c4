#pragma once
// The pop-up's geometry: its width for a measured text, and where the text,
// the three buttons and the hover caption go. Coordinates are the window's own.

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Right and bottom are exclusive, as with PtInRect.
    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
};

inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) {
    return !(a == b);
}

constexpr int kPopupHeight = 66;
constexpr int kTileWidth = 45, kTileHeight = 64;
constexpr int kMinPopupWidth = 317;     // seven tiles and the frame
constexpr int kRestX = 64, kRestY = 32; // where the pop-up rests on the screen
constexpr int kInitialPopupWidth = 400; // the layout's width before the first layout

// The width for a text of `textWidth` pixels: a whole number of tiles (at
// least seven) plus the frame, leaving at least 25 pixels beside the text.
int PopupWidthForText(int textWidth);
// How many background tiles a pop-up of this width holds.
int PopupTileCount(int popupWidth);

struct PopupLayout {
    Rect layout, text, prev, next, lyrics, caption;
};

PopupLayout ComputePopupLayout(int textWidth);
