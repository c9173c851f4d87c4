#include "support/TextMeasure.h"

#include "support/Handles.h"

namespace e2e {

RECT MeasureText(const std::string& text) {
    ScreenDc screen;
    RECT rect{0, 0, 0, 0};
    DrawTextA(screen.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    return rect;
}

} // namespace e2e
