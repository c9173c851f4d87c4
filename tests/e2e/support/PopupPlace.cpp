#include "support/PopupPlace.h"

namespace e2e {

bool IsAtRest(const Box& box) {
    return box.x == kPopupAtRest.x && box.y == kPopupAtRest.y &&
           box.height == kPopupAtRest.height && box.width >= kPopupAtRest.width;
}

bool IsSliver(const Box& box) {
    return box.x == 0 && box.y == 0 && box.height == 6 && box.width <= 1;
}

} // namespace e2e
