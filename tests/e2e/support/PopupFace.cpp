#include "support/PopupFace.h"

#include "support/TextMeasure.h"

#include "support/Geometry.h"
#include "support/Handles.h"
#include "support/Paths.h"
#include "support/PopupPlace.h"
#include "support/Wait.h"

#include <algorithm>

namespace e2e {
namespace {

constexpr int kHeight = 66;
constexpr int kTile = 45;
constexpr int kButtonWidth = 13, kButtonHeight = 16;

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

// Copies a bitmap file's top-left corner to (x, y); false when it does not load.
bool CopyBitmap(HDC dc, const std::string& path, int x, int y, int width, int height) {
    GdiObject bitmap(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (bitmap.Get() == nullptr) {
        return false;
    }
    MemoryDc source(dc);
    SelectGuard select(source.Get(), bitmap.Get());
    return BitBlt(dc, x, y, width, height, source.Get(), 0, 0, SRCCOPY) != FALSE;
}

// Whether the pop-up is the window the user sees at its resting place
// (another program's window may cover it for a moment).
bool OnTop(HWND main, int width) {
    const int right = kPopupAtRest.x + std::min(width, ScreenWidth() - kPopupAtRest.x) - 2;
    const POINT corners[] = {{kPopupAtRest.x + 1, kPopupAtRest.y + 1},
                             {right, kPopupAtRest.y + 1},
                             {kPopupAtRest.x + 1, kPopupAtRest.y + kHeight - 2},
                             {right, kPopupAtRest.y + kHeight - 2}};
    return std::all_of(std::begin(corners), std::end(corners),
                       [&](const POINT& corner) { return WindowFromPoint(corner) == main; });
}

} // namespace

SkinLook DefaultSkinLook() {
    // "text=00FFF2EE", "border=001A0607": blue, green, red from the left.
    // "font=Tahoma", "fontsize=10".
    return SkinLook{"background.bmp",      "",  "", "", Rgb{0xEE, 0xF2, 0xFF},
                    Rgb{0x07, 0x06, 0x1A}, true};
}

PopupFace::PopupFace(const TestInstall& install, const SkinLook& look, int width,
                     const std::string& text, const char* caption)
    : m_width(width), m_known(static_cast<size_t>(width) * kHeight, false) {
    const std::string folder = install.SkinFolder();
    const bool tiles = !look.middle.empty();
    const RECT buttons[] = {{width - 20, 6, width - 7, 22},
                            {width - 20, 25, width - 7, 41},
                            {width - 20, 44, width - 7, 60}};
    m_pixels = PaintedPixels(width, kHeight, [&](HDC dc) {
        const int count = (width - 2) / kTile;
        for (int i = 0; tiles && i < count; ++i) {
            const bool threePiece = !look.right.empty();
            const std::string& tile = threePiece && i == 0           ? look.left
                                      : threePiece && i == count - 1 ? look.right
                                                                     : look.middle;
            CopyBitmap(dc, JoinPath(folder, tile), 1 + kTile * i, 1, kTile, 64);
        }
        const char* const files[] = {"prev.bmp", "next.bmp", "lyr.bmp"};
        for (int i = 0; i < 3; ++i) {
            CopyBitmap(dc, JoinPath(folder, look.icons + files[i]), buttons[i].left, buttons[i].top,
                       kButtonWidth, kButtonHeight);
        }
        GdiObject border(CreateSolidBrush(RGB(look.border.r, look.border.g, look.border.b)));
        RECT all{0, 0, width, kHeight};
        FrameRect(dc, &all, static_cast<HBRUSH>(border.Get()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(look.text.r, look.text.g, look.text.b));
        GdiObject font(look.shippedFont ? CreateShippedFont() : nullptr);
        if (font.Get())
            SelectObject(dc, font.Get());
        if (caption != nullptr) {
            RECT captionRect{width - 84, 44, width - 25, 60};
            DrawTextA(dc, caption, -1, &captionRect,
                      DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        }
        RECT textRect{10, 9, width - 10, kHeight - 9};
        DrawTextA(dc, text.c_str(), -1, &textRect, DT_NOPREFIX | DT_NOCLIP);
        if (font.Get())
            SelectObject(dc, GetStockObject(SYSTEM_FONT));
    });
    // Known: the frame and the buttons always, the rest when the tiles are.
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == kHeight - 1;
            const bool button =
                std::any_of(std::begin(buttons), std::end(buttons), [&](const RECT& b) {
                    return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
                });
            m_known[static_cast<size_t>(y) * width + x] = frame || button || tiles;
        }
    }
}

int PopupFace::Mismatches(const ScreenCapture& capture) const {
    const int visible = std::min(m_width, ScreenWidth() - kPopupAtRest.x);
    int count = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < visible; ++x) {
            const size_t at = static_cast<size_t>(y) * m_width + x;
            if (m_known[at] && capture.At(kPopupAtRest.x + x, kPopupAtRest.y + y) != m_pixels[at]) {
                ++count;
            }
        }
    }
    return count;
}

testing::AssertionResult ShowsFace(HWND main, const PopupFace& face, const std::string& artifact) {
    const Box rest = PopupAtRest(face.Width());
    int mismatches = -1;
    const bool shown = WaitUntil(
        [&] {
            if (WindowBox(main) != rest || !OnTop(main, rest.width)) {
                return false;
            }
            const ScreenCapture capture(
                RECT{rest.x, rest.y, rest.x + rest.width, rest.y + rest.height});
            mismatches = face.Mismatches(capture);
            return mismatches == 0 && OnTop(main, rest.width);
        },
        kGenerousMs, 50);
    if (shown) {
        return testing::AssertionSuccess();
    }
    SaveScreenshot(artifact, RECT{0, 0, ScreenWidth(), rest.Bottom() + 16});
    return testing::AssertionFailure()
           << "the pop-up (" << WindowBox(main) << ", at rest " << rest
           << ") does not show its face: " << mismatches
           << " pixels differ (-1: never on top at rest); see " << artifact << ".png";
}

} // namespace e2e
