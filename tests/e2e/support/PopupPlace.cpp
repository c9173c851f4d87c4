#include "support/PopupPlace.h"

#include "support/TextMeasure.h"

namespace e2e {

int PopupWidthFor(const std::string& text) {
    const RECT measured = MeasureText(text);
    const int width = measured.right - measured.left;
    return width + 45 <= 317 ? 317 : ((width + 42) / 45) * 45 + 47;
}

bool IsAtRest(const Box& box) {
    return box.x == kPopupAtRest.x && box.y == kPopupAtRest.y &&
           box.height == kPopupAtRest.height && box.width >= kPopupAtRest.width;
}

bool IsSliver(const Box& box) {
    return box.x == 0 && box.y == 0 && box.height == 6 && box.width <= 1;
}

} // namespace e2e
