#include "support/TextMeasure.h"

#include "support/Handles.h"

namespace e2e {

RECT MeasureText(const std::string& text) {
    ScreenDc screen;
    RECT rect{0, 0, 0, 0};
    DrawTextA(screen.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    return rect;
}

HFONT CreateShippedFont() {
    ScreenDc screen;
    const int height = -MulDiv(10, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

RECT MeasureTextInShippedFont(const std::string& text) {
    ScreenDc screen;
    HFONT font = CreateShippedFont();
    HGDIOBJ previous = SelectObject(screen.Get(), font);
    RECT rect{0, 0, 0, 0};
    DrawTextA(screen.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(screen.Get(), previous);
    DeleteObject(font);
    return rect;
}

} // namespace e2e
