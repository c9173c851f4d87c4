#include "support/Screen.h"

#include "support/Files.h"
#include "support/Handles.h"
#include "support/Paths.h"
#include "support/Png.h"
#include "support/Wait.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

namespace e2e {

bool operator==(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

bool operator!=(const Rgb& a, const Rgb& b) {
    return !(a == b);
}

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "rgb(" << int(colour.r) << ", " << int(colour.g) << ", " << int(colour.b) << ")";
}

Rgb FromColorRef(COLORREF colour) {
    return Rgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

std::vector<Rgb> PaintedPixels(int width, int height, const std::function<void(HDC)>& paint) {
    ScreenDc screen;
    MemoryDc memory(screen.Get());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap.Get() == nullptr || bits == nullptr) {
        throw std::runtime_error("PaintedPixels: CreateDIBSection failed");
    }
    {
        SelectGuard select(memory.Get(), bitmap.Get());
        paint(memory.Get());
        GdiFlush();
    }

    // 32-bit DIB pixels are B, G, R, unused.
    const auto* bgrx = static_cast<const std::uint8_t*>(bits);
    std::vector<Rgb> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = Rgb{bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4 + 0]};
    }
    return pixels;
}

ScreenCapture::ScreenCapture(const RECT& area) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_left = std::max(0, static_cast<int>(area.left));
    m_top = std::max(0, static_cast<int>(area.top));
    m_width = std::min(screenWidth, static_cast<int>(area.right)) - m_left;
    m_height = std::min(screenHeight, static_cast<int>(area.bottom)) - m_top;
    if (m_width <= 0 || m_height <= 0) {
        throw std::invalid_argument("ScreenCapture: the area lies outside the screen");
    }

    ScreenDc screen;
    m_pixels = PaintedPixels(m_width, m_height, [&](HDC memory) {
        if (!BitBlt(memory, 0, 0, m_width, m_height, screen.Get(), m_left, m_top, SRCCOPY)) {
            throw std::runtime_error("ScreenCapture: BitBlt from the screen failed");
        }
    });
}

ScreenCapture ScreenCapture::WholeScreen() {
    return ScreenCapture(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

Rgb ScreenCapture::At(int screenX, int screenY) const {
    const int x = screenX - m_left;
    const int y = screenY - m_top;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        throw std::out_of_range("ScreenCapture::At: the point lies outside the capture");
    }
    return m_pixels[static_cast<size_t>(y) * m_width + x];
}

int ScreenCapture::Count(const Rgb& colour) const {
    return static_cast<int>(std::count(m_pixels.begin(), m_pixels.end(), colour));
}

std::string ScreenCapture::EncodePng() const {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(m_pixels.size() * 3);
    for (const Rgb& pixel : m_pixels) {
        rgb.insert(rgb.end(), {pixel.r, pixel.g, pixel.b});
    }
    return e2e::EncodePng(m_width, m_height, rgb);
}

void ScreenCapture::SavePng(const std::string& path) const {
    WriteFileBytes(path, EncodePng());
}

Rgb ScreenPixel(int x, int y) {
    return ScreenCapture(RECT{x, y, x + 1, y + 1}).At(x, y);
}

std::string SaveScreenshot(const std::string& name) {
    const std::string path = ArtifactPath(name + ".png");
    ScreenCapture::WholeScreen().SavePng(path);
    return path;
}

std::string SaveScreenshot(const std::string& name, const RECT& area) {
    const std::string path = ArtifactPath(name + ".png");
    ScreenCapture(area).SavePng(path);
    return path;
}

testing::AssertionResult MoveWineSystemTrayAway() {
    HWND tray = nullptr;
    RECT rect = {};
    const bool away = WaitUntil([&] {
        tray = FindWindowA(nullptr, "Wine System Tray");
        if (tray == nullptr || !GetWindowRect(tray, &rect)) {
            return false;
        }
        const int x = GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left);
        const int y = GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top);
        if (rect.left == x && rect.top == y) {
            return true;
        }
        SetWindowPos(tray, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return false; // looked at again in the next round
    });
    if (away) {
        return testing::AssertionSuccess();
    }
    if (tray == nullptr) {
        return testing::AssertionFailure() << "Wine's system tray window never came up";
    }
    return testing::AssertionFailure() << "Wine's system tray window stays at (" << rect.left
                                       << ", " << rect.top << "), over the pop-up's place";
}

} // namespace e2e
