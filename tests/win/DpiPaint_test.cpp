// The pop-up on a screen of 144 DPI (one and a half times 96), told of the
// new DPI as Windows tells it, painted into a memory DC and checked pixel by
// pixel; the scaled font; the manifest that asks for all this. Every expected
// edge below is its 96-DPI place times 1.5, rounded by hand (halves up).
#include "SkinTestKit.h"

#include "config/Settings.h"
#include "framework/Dpi.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace skintest;

namespace {

// The narrowest pop-up at 144 DPI: 476 x 99, a frame two pixels wide at the
// top and the sides and one at the bottom (the 96-DPI frame's edges at 1.5,
// 97.5 and 474 rounded), seven tiles between these left edges, and the
// buttons at x = 446.
constexpr int kWidth = 476, kHeight = 99;
constexpr int kTileEdges[] = {2, 69, 137, 204, 272, 339, 407, 474};
constexpr int kTilesTop = 2, kTilesBottom = 98;
constexpr RECT kPrevButton{446, 9, 465, 33};
constexpr RECT kNextButton{446, 38, 465, 62};
constexpr RECT kLyricsButton{446, 66, 465, 90};

bool Inside(const RECT& rect, int x, int y) {
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

// The colour each pixel of the pop-up at 144 DPI should have (no text).
COLORREF LookAt144(int x, int y, const std::vector<COLORREF>& tiles) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
        return Canvas::kUntouched;
    if (y < kTilesTop || y >= kTilesBottom || x < kTileEdges[0] || x >= kTileEdges[7])
        return kBorder;
    if (Inside(kPrevButton, x, y))
        return kPrev;
    if (Inside(kNextButton, x, y))
        return kNext;
    if (Inside(kLyricsButton, x, y))
        return kLyrics;
    int tile = 0;
    while (x >= kTileEdges[tile + 1])
        ++tile;
    return tiles[static_cast<size_t>(tile)];
}

// Every pixel of the canvas against the look; reports the first few.
::testing::AssertionResult PaintedAs144(const Canvas& canvas, const std::vector<COLORREF>& tiles) {
    int wrong = 0;
    std::string report;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF expected = LookAt144(x, y, tiles);
            if (canvas.At(x, y) != expected && ++wrong <= 5)
                report += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    }
    if (wrong == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ, first at" << report;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

class PopupAtDpiTest : public SkinnedPopupTest {
  protected:
    void SetUp() override {
        SkinnedPopupTest::SetUp();
        ASSERT_EQ(SystemDpi(), 96) << "the test prefix runs at 96 DPI";
        m_skins.Write("Three.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                                   "imager=right.bmp\r\n" +
                                       kColours);
    }

    // What the pop-up does when its resting monitor's DPI changes.
    void TellDpi(int dpi) { m_popup.ApplyDpi(dpi); }
};

TEST_F(PopupAtDpiTest, ADpiChangeMessageIsCheckedAgainstTheRestingMonitor) {
    // Sent while an animation crosses a monitor of another DPI: the pop-up
    // stays laid out for the monitor it rests on (the prefix's 96).
    RECT suggested{0, 0, 10, 10};
    ::SendMessageA(m_popup.m_hWnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(m_popup.LayoutDpi(), 96);
}

TEST_F(PopupAtDpiTest, EveryEdgeIsScaledUntilADisplayChangeBringsThe96DpiLookBack) {
    Wear("Three");
    TellDpi(144);
    EXPECT_EQ(m_popup.LayoutDpi(), 144);
    Canvas scaled;
    m_popup.PaintInto(scaled);
    const COLORREF L = kLeftEnd, M = kMiddle, R = kRightEnd;
    EXPECT_TRUE(PaintedAs144(scaled, {L, M, M, M, M, M, R}));

    // The text is measured in the font as scaled for 144 DPI: a line that
    // needs eight tiles there makes the pop-up 543 pixels wide.
    m_popup.SetTrackText("A Singer Whose Name Runs Rather Long Indeed\nTitle\nWinamp");
    Canvas wide(600, 120);
    m_popup.PaintInto(wide);
    EXPECT_EQ(wide.Extent(kBorder).right, 543);
    m_popup.SetTrackText("");

    // The monitor's own DPI again (the test prefix's 96): pixel for pixel as ever.
    ::SendMessageA(m_popup.m_hWnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    EXPECT_EQ(m_popup.LayoutDpi(), 96);
    Canvas plain;
    m_popup.PaintInto(plain);
    PopupLook look;
    look.tiles = {L, M, M, M, M, M, R};
    look.border = kBorder;
    look.prev = kPrev;
    look.next = kNext;
    look.lyrics = kLyrics;
    EXPECT_TRUE(PaintedAs(plain, look));
}

TEST_F(PopupAtDpiTest, StretchedBitmapsAreSmoothed) {
    // A tile whose left half is dark and whose right half is light.
    const COLORREF dark = RGB(0, 0, 0), light = RGB(240, 240, 240);
    m_skins.Write("halves.bmp",
                  BitmapFile(45, 64, [&](int x, int) { return x < 23 ? dark : light; }));
    m_skins.Write("Halves.ini", "[SKIN]\r\nimage=halves.bmp\r\n" + kColours);
    Wear("Halves");

    // At 96 DPI the tile is copied as it is: only the two colours.
    Canvas plain;
    m_popup.PaintInto(plain);
    for (int x = 1; x < 46; ++x)
        ASSERT_EQ(plain.At(x, 30), x < 24 ? dark : light) << x;

    // At 144 DPI the edge between the halves (near x = 2 + 23 * 1.5) is blended.
    TellDpi(144);
    Canvas scaled;
    m_popup.PaintInto(scaled);
    int blended = 0;
    for (int x = kTileEdges[0]; x < kTileEdges[1]; ++x) {
        const COLORREF pixel = scaled.At(x, 50);
        if (pixel != dark && pixel != light)
            ++blended;
    }
    EXPECT_GT(blended, 0) << "no pixel between the two colours: the tile was not smoothed";
    EXPECT_EQ(scaled.At(kTileEdges[0], 50), dark);
    EXPECT_EQ(scaled.At(kTileEdges[1] - 1, 50), light);
}

TEST_F(PopupAtDpiTest, APopupThatIsUpTakesItsNewSizeInPlace) {
    Wear("Three");
    m_popup.LayoutPopup();
    ASSERT_TRUE(m_popup.StartAnimation(AnimationRoutine::Show));
    // The animation's moves are carried out by this (the window's) thread.
    const ULONGLONG end = ::GetTickCount64() + 30000;
    while (!(m_popup.Animator().State() == ANIM_IDLE && m_popup.Animator().IsShown()) &&
           ::GetTickCount64() < end) {
        Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    RECT rect{};
    ::GetWindowRect(m_popup.m_hWnd, &rect);
    ASSERT_EQ(rect.left, 64);
    ASSERT_EQ(rect.right, 64 + 317);

    TellDpi(144);
    ::GetWindowRect(m_popup.m_hWnd, &rect);
    EXPECT_EQ(rect.left, 96);
    EXPECT_EQ(rect.top, 48);
    EXPECT_EQ(rect.right - rect.left, kWidth);
    EXPECT_EQ(rect.bottom - rect.top, kHeight);
    ::ShowWindow(m_popup.m_hWnd, SW_HIDE);
}

// --- The font ------------------------------------------------------------------

int InkHeight(HDC dc, const char* text) {
    RECT rect{0, 0, 0, 0};
    ::DrawTextA(dc, text, -1, &rect, DT_CALCRECT | DT_NOPREFIX);
    return rect.bottom - rect.top;
}

TEST(DpiFont, AtTheSystemsDpiTheDcKeepsItsFontAndAtTwiceItTextGrows) {
    Canvas canvas;
    const HGDIOBJ own = ::GetCurrentObject(canvas.Dc(), OBJ_FONT);
    const int plain = InkHeight(canvas.Dc(), "Artist\nTitle");
    const int objects = CountGdiObjects();
    {
        const CDpiFont same(canvas.Dc(), SystemDpi());
        EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_FONT), own);
        EXPECT_EQ(CountGdiObjects(), objects);
    }
    {
        const CDpiFont twice(canvas.Dc(), 2 * SystemDpi());
        EXPECT_NE(::GetCurrentObject(canvas.Dc(), OBJ_FONT), own);
        EXPECT_EQ(CountGdiObjects(), objects + 1);
        EXPECT_GE(InkHeight(canvas.Dc(), "Artist\nTitle"), plain * 3 / 2);
    }
    // Put back and deleted.
    EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_FONT), own);
    EXPECT_EQ(CountGdiObjects(), objects);
}

TEST(DpiFont, AFaceNameLongerThanANarrowFontHoldsIsScaledWhole) {
    // Eleven CJK letters: 33 bytes in UTF-8, beyond a narrow LOGFONT's 31.
    const std::wstring face = L"\u65B0\u7D30\u660E\u9AD4\u6A19\u6E96\u5B57\u9AD4\u7E41\u9AD4\u5B57";
    LOGFONTW made{};
    face.copy(made.lfFaceName, LF_FACESIZE - 1);
    CFont named;
    ASSERT_TRUE(named.CreateFontIndirect(made));
    Canvas canvas;
    const CSelectObject chosen(canvas.Dc(), named);
    const CDpiFont twice(canvas.Dc(), 2 * SystemDpi());
    ASSERT_TRUE(::GetObjectW(::GetCurrentObject(canvas.Dc(), OBJ_FONT), sizeof made, &made));
    EXPECT_EQ(std::wstring(made.lfFaceName), face);
}

// --- The manifest ----------------------------------------------------------------

TEST(DpiAwareness, TheManifestDeclaresPerMonitorAwarenessWithTheOlderFormBeside) {
    // This test program carries the program's resources, manifest included.
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
    const std::string manifest(bytes, ::SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("WindowsSettings\">PerMonitorV2"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("WindowsSettings\">true/pm</dpiAware>"), std::string::npos) << manifest;
}

} // namespace
