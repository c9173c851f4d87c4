// What the skin, painting and Preferences tests share: bitmap files of known
// colours, a skin directory of the test's own with the test skins' pieces, a
// canvas to paint into, the pop-up window object without the program's
// start-up, and a count of the process's GDI objects.
#pragma once
#include "app/NowPlayingWnd.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace skintest {

// The bytes of a 24-bit bitmap file (rows stored bottom-up, as usual) whose
// pixel (x, y), y counted from the top, is colourAt(x, y).
std::string BitmapFile(int width, int height, const std::function<COLORREF(int, int)>& colourAt);
std::string SolidBitmapFile(int width, int height, COLORREF colour);

// The test skins' pieces, each of a colour of its own (COLORREF 0x00BBGGRR):
// the tiles mid.bmp, left.bmp and right.bmp (45 × 64) and the buttons
// prev.bmp, next.bmp and lyr.bmp (13 × 16).
constexpr COLORREF kMiddle = RGB(10, 120, 200);
constexpr COLORREF kLeftEnd = RGB(200, 40, 40);
constexpr COLORREF kRightEnd = RGB(40, 200, 40);
constexpr COLORREF kPrev = RGB(250, 160, 0);
constexpr COLORREF kNext = RGB(120, 0, 250);
constexpr COLORREF kLyrics = RGB(0, 250, 160);
// The colour lines of the test skins' definitions, and their colours.
inline const std::string kColours = "text=00FFFFFF\r\nborder=0000FFFF\r\n";
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kBorder = RGB(255, 255, 0);

// A fresh folder in the temporary directory, made the process's skin
// directory while the object lives; removed with everything in it afterwards.
class TempSkinDirectory {
  public:
    TempSkinDirectory();
    ~TempSkinDirectory();
    TempSkinDirectory(const TempSkinDirectory&) = delete;
    TempSkinDirectory& operator=(const TempSkinDirectory&) = delete;

    // The folder, ending in "\".
    const std::string& Path() const { return m_path; }
    // Writes a file below the folder ("a\b.bmp" makes the sub-folder a).
    void Write(const std::string& name, const std::string& bytes) const;
    void WriteSolidBitmap(const std::string& name, int width, int height, COLORREF colour) const;
    // Writes the test skins' pieces (see kMiddle) into the folder.
    void WritePieces() const;
    // The file's bytes, or nothing when there is no such file.
    std::optional<std::string> Read(const std::string& name) const;
    // The names of the files that `pattern` ("*.ini") matches in the folder,
    // in the file system's order.
    std::vector<std::string> Find(const std::string& pattern) const;

  private:
    std::string m_path;
};

// Removes a folder and everything below it.
void RemoveTree(const std::string& folder);

// A 32-bit top-down bitmap in a memory DC, filled with kUntouched, to paint
// into and read back exactly. Its default size holds the tests' pop-ups.
class Canvas {
  public:
    static constexpr COLORREF kUntouched = RGB(1, 2, 3);

    explicit Canvas(int width = 480, int height = 120);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    // The smallest rectangle holding every pixel of this colour (inside
    // `area`, when given); empty when there is none.
    RECT Extent(COLORREF colour) const;
    RECT Extent(COLORREF colour, const RECT& area) const;
    // How many pixels have exactly this colour.
    int Count(COLORREF colour) const;

  private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

// The pop-up window object with a (zero-sized) window of its own, but none
// of the program's start-up: no settings file is read and no timer runs, so
// tests load skins and paint it as they please.
class TestPopup : public CNowPlayingWnd {
  public:
    TestPopup();

    // LayoutPopup for the current text, then PaintPopup into the canvas.
    void PaintInto(const Canvas& canvas);

  protected:
    BOOL OnInitDialog() override;
};

// What the pop-up of width `width` looks like, pixel by pixel, with the
// given tile colours (one per tile, left to right), frame and button colours
// and no text. Anything outside the pop-up is Canvas::kUntouched.
struct PopupLook {
    int width = 317;
    std::vector<COLORREF> tiles;
    COLORREF border = 0;
    COLORREF prev = 0, next = 0, lyrics = 0;

    COLORREF At(int x, int y) const;
};

// Compares the whole canvas with the look, except inside `textArea`, where
// text may have been drawn (with smoothed edges, so in any colour). Reports
// the first few differences.
::testing::AssertionResult PaintedAs(const Canvas& canvas, const PopupLook& look,
                                     const RECT& textArea = RECT{});

// The smallest rectangle holding every pixel that differs from the look:
// where text was drawn over it.
RECT InkExtent(const Canvas& canvas, const PopupLook& look);

// The colours of the tiles of a pop-up painted with its top-left corner at
// `origin`, each checked at its four corners; a tile whose corners disagree
// reports Canvas::kUntouched.
std::vector<COLORREF> TileColours(const Canvas& canvas, int popupWidth = 317,
                                  POINT origin = POINT{0, 0});

// The GDI objects of this process, counted in its GDI handle table (the
// platform's own counters are stubs under Wine). -1 when the table cannot
// be read.
int CountGdiObjects();

// A pop-up window of its own in a temporary skin folder holding the test
// skins' pieces, with the settings cleared before and after; Wear loads a
// skin by name as the program does.
class SkinnedPopupTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    void Wear(const std::string& skin);

    TempSkinDirectory m_skins;
    TestPopup m_popup;
};

} // namespace skintest
