#pragma once
// A rectangle in whole pixels, as the platform's RECT, for the portable code.

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
