#include "support/PopupPlace.h"

#include "support/TextMeasure.h"

#include <algorithm>

namespace e2e {

namespace {
int RestingWidthFor(const RECT& measured) {
    const int textWidth = measured.right - measured.left;
    // The text rectangle of n tiles is 45n + 2 - 20 wide; the fewest tiles
    // with 45n - 18 >= textWidth + 25, rounding up.
    const int needed = textWidth + 25 + 18;
    const int tiles = std::max(7, (needed + 44) / 45);
    return 2 + 45 * tiles;
}

} // namespace

int RestingWidth(const std::string& text) {
    return RestingWidthFor(MeasureText(text));
}

int RestingWidthInShippedFont(const std::string& text) {
    return RestingWidthFor(MeasureTextInShippedFont(text));
}

bool IsAtRest(const Box& box) {
    return box.x == kPopupAtRest.x && box.y == kPopupAtRest.y &&
           box.height == kPopupAtRest.height && box.width >= kPopupAtRest.width;
}

bool IsSliver(const Box& box) {
    return box.x == 0 && box.y == 0 && box.height == 6 && box.width <= 1;
}

} // namespace e2e
