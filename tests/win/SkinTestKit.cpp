#include "SkinTestKit.h"

#include "config/Settings.h"
#include "skin/SkinInfo.h"
#include "res/resource.h"
#include "tests/e2e/support/BitmapFile.h"
#include "tests/e2e/support/GdiHandleTable.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace skintest {

namespace {

bool Inside(const RECT& rect, int x, int y) {
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

// The smallest rectangle inside `area` holding every point where `marked`
// holds; empty when there is none.
RECT ExtentWhere(const RECT& area, const std::function<bool(int, int)>& marked) {
    RECT extent{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!marked(x, y))
                continue;
            extent.left = std::min<LONG>(extent.left, x);
            extent.top = std::min<LONG>(extent.top, y);
            extent.right = std::max<LONG>(extent.right, x + 1);
            extent.bottom = std::max<LONG>(extent.bottom, y + 1);
        }
    }
    return extent.left < extent.right ? extent : RECT{};
}

std::string Hex(COLORREF colour) {
    std::ostringstream out;
    out << "rgb(" << int(GetRValue(colour)) << "," << int(GetGValue(colour)) << ","
        << int(GetBValue(colour)) << ")";
    return out.str();
}

} // namespace

std::string BitmapFile(int width, int height, const std::function<COLORREF(int, int)>& colourAt) {
    return testbitmap::BitmapFile(width, height, [&](int x, int y) {
        const COLORREF colour = colourAt(x, y);
        return testbitmap::Colour{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    });
}

std::string SolidBitmapFile(int width, int height, COLORREF colour) {
    return BitmapFile(width, height, [colour](int, int) { return colour; });
}

// --- TempSkinDirectory -------------------------------------------------------

TempSkinDirectory::TempSkinDirectory() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    m_path = std::string(temp) + "tg-skins-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++counter) + "\\";
    ::CreateDirectoryA(m_path.c_str(), nullptr);
    SetSkinDirectory(m_path);
}

TempSkinDirectory::~TempSkinDirectory() {
    SetSkinDirectory("");
    RemoveTree(m_path);
}

void TempSkinDirectory::Write(const std::string& name, const std::string& bytes) const {
    for (size_t slash = name.find('\\'); slash != std::string::npos;
         slash = name.find('\\', slash + 1))
        ::CreateDirectoryA((m_path + name.substr(0, slash)).c_str(), nullptr);
    std::ofstream out(m_path + name, std::ios::binary);
    out << bytes;
}

void TempSkinDirectory::WriteSolidBitmap(const std::string& name, int width, int height,
                                         COLORREF colour) const {
    Write(name, SolidBitmapFile(width, height, colour));
}

void TempSkinDirectory::WritePieces() const {
    WriteSolidBitmap("mid.bmp", 45, 64, kMiddle);
    WriteSolidBitmap("left.bmp", 45, 64, kLeftEnd);
    WriteSolidBitmap("right.bmp", 45, 64, kRightEnd);
    WriteSolidBitmap("prev.bmp", 13, 16, kPrev);
    WriteSolidBitmap("next.bmp", 13, 16, kNext);
    WriteSolidBitmap("lyr.bmp", 13, 16, kLyrics);
}

std::optional<std::string> TempSkinDirectory::Read(const std::string& name) const {
    std::ifstream in(m_path + name, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> TempSkinDirectory::Find(const std::string& pattern) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((m_path + pattern).c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            names.push_back(found.cFileName);
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    return names;
}

void RemoveTree(const std::string& folder) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((base + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(base + name);
            else
                ::DeleteFileA((base + name).c_str());
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(base.c_str());
}

// --- Canvas ------------------------------------------------------------------

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_dc(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    HBRUSH fill = ::CreateSolidBrush(kUntouched);
    RECT all{0, 0, m_width, m_height};
    ::FillRect(m_dc, &all, fill);
    ::DeleteObject(fill);
}

Canvas::~Canvas() {
    ::SelectObject(m_dc, m_previous);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    const uint32_t pixel = m_bits[y * m_width + x]; // 0x00RRGGBB
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

RECT Canvas::Extent(COLORREF colour) const {
    return Extent(colour, RECT{0, 0, m_width, m_height});
}

RECT Canvas::Extent(COLORREF colour, const RECT& area) const {
    return ExtentWhere(area, [&](int x, int y) { return At(x, y) == colour; });
}

int Canvas::Count(COLORREF colour) const {
    int count = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (At(x, y) == colour)
                ++count;
        }
    }
    return count;
}

// --- TestPopup ---------------------------------------------------------------

TestPopup::TestPopup() : CNowPlayingWnd(nullptr) {
    Create(IDD_NOWPLAYING);
}

BOOL TestPopup::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void TestPopup::PaintInto(const Canvas& canvas) {
    LayoutPopup();
    PaintPopup(canvas.Dc());
}

// --- The expected look -------------------------------------------------------

COLORREF PopupLook::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= kPopupHeight)
        return Canvas::kUntouched;
    if (x == 0 || y == 0 || x == width - 1 || y == kPopupHeight - 1)
        return border;
    const int right = width; // the buttons hang from the pop-up's right edge
    if (Inside(RECT{right - 20, 6, right - 7, 22}, x, y))
        return prev;
    if (Inside(RECT{right - 20, 25, right - 7, 41}, x, y))
        return next;
    if (Inside(RECT{right - 20, 44, right - 7, 60}, x, y))
        return lyrics;
    const size_t tile = static_cast<size_t>((x - 1) / kTileWidth);
    return tile < tiles.size() ? tiles[tile] : Canvas::kUntouched;
}

::testing::AssertionResult PaintedAs(const Canvas& canvas, const PopupLook& look,
                                     const RECT& textArea) {
    int differences = 0;
    std::ostringstream report;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF painted = canvas.At(x, y);
            const COLORREF expected = look.At(x, y);
            if (painted == expected || Inside(textArea, x, y))
                continue;
            if (++differences <= 5)
                report << "\n  (" << x << ", " << y << ") is " << Hex(painted) << ", expected "
                       << Hex(expected);
        }
    }
    if (differences == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differences << " pixels differ:" << report.str();
}

RECT InkExtent(const Canvas& canvas, const PopupLook& look) {
    return ExtentWhere(RECT{0, 0, canvas.Width(), canvas.Height()},
                       [&](int x, int y) { return canvas.At(x, y) != look.At(x, y); });
}

std::vector<COLORREF> TileColours(const Canvas& canvas, int popupWidth, POINT origin) {
    std::vector<COLORREF> colours;
    for (int i = 0; i < PopupTileCount(popupWidth); ++i) {
        const int left = origin.x + 1 + kTileWidth * i, right = left + kTileWidth - 1;
        const int top = origin.y + 1, bottom = origin.y + kTileHeight;
        const COLORREF colour = canvas.At(left, top);
        const bool same = canvas.At(right, top) == colour && canvas.At(left, bottom) == colour &&
                          canvas.At(right, bottom) == colour;
        colours.push_back(same ? colour : Canvas::kUntouched);
    }
    return colours;
}

// --- GDI objects -------------------------------------------------------------

int CountGdiObjects() {
    const auto objects = gditable::ReadGdiObjects(::GetCurrentProcess());
    return objects ? static_cast<int>(objects->size()) : -1;
}

// --- SkinnedPopupTest ------------------------------------------------------

void SkinnedPopupTest::SetUp() {
    g_settingsIni.Clear();
    ASSERT_NE(m_popup.m_hWnd, nullptr);
    m_skins.WritePieces();
}

void SkinnedPopupTest::TearDown() {
    g_settingsIni.Clear();
}

void SkinnedPopupTest::Wear(const std::string& skin) {
    g_settingsIni.SetString(kPreferencesSection, kSkinKey, skin);
    m_popup.LoadSkin();
}

} // namespace skintest
