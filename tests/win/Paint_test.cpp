// Painting the pop-up into a memory DC: the frame, the background tiles of
// one- and three-piece skins, the buttons at their rectangles, the hover
// caption and the track text, checked pixel by pixel against test skins
// whose colours are known.
#include "SkinTestKit.h"

#include "config/Settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace skintest;

namespace {

constexpr COLORREF kElsewhere = RGB(90, 90, 90);

class PopupPaintTest : public SkinnedPopupTest {
  protected:
    void SetUp() override {
        SkinnedPopupTest::SetUp();
        m_skins.Write("One.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + kColours);
        m_skins.Write("Three.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                                   "imager=right.bmp\r\n" +
                                       kColours);
    }

    static PopupLook Look(int width, std::vector<COLORREF> tiles) {
        PopupLook look;
        look.width = width;
        look.tiles = std::move(tiles);
        look.border = kBorder;
        look.prev = kPrev;
        look.next = kNext;
        look.lyrics = kLyrics;
        return look;
    }

    // Text this wide in the default font of a DC, measured as the pop-up measures it.
    static int TextWidth(const std::string& text) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        RECT rect{0, 0, 0, 0};
        ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
        ::DeleteDC(dc);
        return rect.right - rect.left;
    }

    static int LineHeight() {
        HDC dc = ::CreateCompatibleDC(nullptr);
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc, &metrics);
        ::DeleteDC(dc);
        return metrics.tmHeight;
    }
};

TEST_F(PopupPaintTest, OnePieceSkinRepeatsItsTileInsideTheFrameWithTheButtonsOnTheRight) {
    Wear("One");
    Canvas canvas;
    m_popup.PaintInto(canvas);
    // 317 pixels: seven 45-pixel tiles from (1, 1) and the one-pixel frame;
    // buttons at x = 297, y = 6, 25 and 44; nothing painted outside.
    EXPECT_TRUE(PaintedAs(canvas, Look(317, std::vector<COLORREF>(7, kMiddle))));
}

TEST_F(PopupPaintTest, ThreePieceSkinHasItsEndTilesAtBothEnds) {
    Wear("Three");
    Canvas canvas;
    m_popup.PaintInto(canvas);
    const COLORREF L = kLeftEnd, M = kMiddle, R = kRightEnd;
    EXPECT_TRUE(PaintedAs(canvas, Look(317, {L, M, M, M, M, M, R})));
}

TEST_F(PopupPaintTest, AWiderTextAddsMiddleTilesAndMovesTheButtons) {
    // The narrowest run of letters wider than 272 pixels needs an eighth tile.
    std::string text;
    while (TextWidth(text) <= 272)
        text += 'm';
    ASSERT_LE(TextWidth(text), 317);
    m_popup.SetTrackText(text);
    Wear("Three");
    Canvas canvas;
    m_popup.PaintInto(canvas);

    const int width = 362;
    const RECT textArea{10, 9, width - 10, 57};
    const COLORREF L = kLeftEnd, M = kMiddle, R = kRightEnd;
    const PopupLook look = Look(width, {L, M, M, M, M, M, M, R});
    EXPECT_TRUE(PaintedAs(canvas, look, textArea));
    const RECT ink = InkExtent(canvas, look);
    EXPECT_GE(ink.left, 10);
    EXPECT_LT(ink.left, 14);
    EXPECT_GE(ink.right, 10 + 272 - 4); // the whole line is drawn, not cut at a tile
}

TEST_F(PopupPaintTest, TrackTextStartsAtTheTextRectanglesCornerInTheTextColour) {
    Wear("One");
    m_popup.SetTrackText("Artist\nTitle\nWinamp");
    Canvas canvas;
    m_popup.PaintInto(canvas);
    const RECT textArea{10, 9, 307, 57};
    const PopupLook look = Look(317, std::vector<COLORREF>(7, kMiddle));
    EXPECT_TRUE(PaintedAs(canvas, look, textArea));
    EXPECT_GT(canvas.Extent(kText).right, 0) << "nothing in the text colour";

    const RECT ink = InkExtent(canvas, look);
    EXPECT_GE(ink.left, 10);
    EXPECT_LT(ink.left, 14);
    EXPECT_GE(ink.top, 9);
    EXPECT_LT(ink.top, 14);
    // Three lines, broken at the line feeds only.
    const int line = LineHeight();
    EXPECT_GT(ink.bottom, 9 + 2 * line);
    EXPECT_LE(ink.bottom, 9 + 3 * line);
    EXPECT_LE(ink.right, 10 + TextWidth("Artist\nTitle\nWinamp"));
}

TEST_F(PopupPaintTest, AmpersandsAreDrawnAndTextIsNotClippedToItsRectangle) {
    Wear("One");
    const PopupLook look = Look(317, std::vector<COLORREF>(7, kMiddle));
    Canvas plain, ampersand;
    m_popup.SetTrackText("AB");
    m_popup.PaintInto(plain);
    m_popup.SetTrackText("A&B");
    m_popup.PaintInto(ampersand);
    // "&" is a character of its own, not a prefix that vanishes.
    const RECT withoutAmpersand = InkExtent(plain, look);
    const RECT withAmpersand = InkExtent(ampersand, look);
    EXPECT_GT(withAmpersand.right - withAmpersand.left,
              withoutAmpersand.right - withoutAmpersand.left + 3);

    // More lines than the rectangle holds run on past its bottom (y = 57).
    Canvas tall;
    m_popup.SetTrackText("1\n2\n3\n4\n5");
    m_popup.PaintInto(tall);
    EXPECT_GT(InkExtent(tall, look).bottom, 57);
    // The pop-up stays 66 pixels high: the frame's bottom row is at y = 65.
    EXPECT_EQ(tall.At(200, 65), kBorder);
    EXPECT_EQ(tall.At(200, 66), Canvas::kUntouched);
}

TEST_F(PopupPaintTest, HoverCaptionIsRightAlignedBesideTheLyricsButton) {
    Wear("One");
    const RECT caption{317 - 84, 44, 317 - 25, 60};
    const PopupLook look = Look(317, std::vector<COLORREF>(7, kMiddle));

    const struct {
        HoverValue hover;
        const char* text;
    } captions[] = {{HOVER_PREVIOUS, "Previous"}, {HOVER_NEXT, "Next"}, {HOVER_LYRICS, "Lyrics"}};
    for (const auto& expected : captions) {
        SCOPED_TRACE(expected.text);
        m_popup.SetHover(expected.hover);
        Canvas canvas;
        m_popup.PaintInto(canvas);
        // Only the caption changes; the buttons look the same hovered or not.
        EXPECT_TRUE(PaintedAs(canvas, look, caption));
        EXPECT_GT(canvas.Extent(kText).right, 0) << "nothing in the text colour";

        const RECT ink = InkExtent(canvas, look);
        EXPECT_LE(ink.right, caption.right);
        EXPECT_GE(ink.right, caption.right - 3);
        EXPECT_GE(ink.top, caption.top);
        EXPECT_LE(ink.bottom, caption.bottom);
        SIZE extent{};
        ::GetTextExtentPoint32A(canvas.Dc(), expected.text,
                                static_cast<int>(std::string(expected.text).size()), &extent);
        EXPECT_LE(ink.right - ink.left, extent.cx);
        EXPECT_GE(ink.right - ink.left, extent.cx - 4);
    }

    m_popup.SetHover(HOVER_NONE);
    Canvas canvas;
    m_popup.PaintInto(canvas);
    EXPECT_TRUE(PaintedAs(canvas, look));
}

TEST_F(PopupPaintTest, TilesAndButtonsAreCopiedFromTheTopLeftOfTheirBitmaps) {
    // Bigger bitmaps than the pop-up uses, with a pattern in the used corner
    // and another colour everywhere else.
    auto tile = [](int x, int y) { return x < 45 && y < 64 ? RGB(x * 5, y * 3, 100) : kElsewhere; };
    auto button = [](int x, int y) {
        return x < 13 && y < 16 ? RGB(200, x * 10, y * 10) : kElsewhere;
    };
    m_skins.Write("big.bmp", BitmapFile(60, 80, tile));
    m_skins.Write("big\\prev.bmp", BitmapFile(20, 30, button));
    m_skins.Write("big\\next.bmp", BitmapFile(20, 30, button));
    m_skins.Write("big\\lyr.bmp", BitmapFile(20, 30, button));
    m_skins.Write("Big.ini", "[SKIN]\r\nimage=big.bmp\r\nicons=big\\\r\n" + kColours);
    Wear("Big");
    Canvas canvas;
    m_popup.PaintInto(canvas);

    for (int i = 0; i < 7; ++i) {
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 45; ++x) {
                const int left = 1 + 45 * i + x, top = 1 + y;
                if (left >= 297 && left < 310 && top >= 6 && top < 60)
                    continue; // under the buttons
                ASSERT_EQ(canvas.At(left, top), tile(x, y))
                    << "tile " << i << " at " << x << "," << y;
            }
        }
    }
    for (int top : {6, 25, 44}) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(canvas.At(297 + x, top + y), button(x, y))
                    << top << ": " << x << "," << y;
    }
    EXPECT_EQ(canvas.Extent(kElsewhere).right, 0) << "something beyond the used corner showed";
}

} // namespace
