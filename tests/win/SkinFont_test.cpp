// A skin's own font (font=, fontsize=, fontweight= in [SKIN]): the font it
// makes, the stand-in for a face the system lacks, the pop-up's layout and
// painting in it, the Preferences preview in it, and its ownership across
// reloads. Without the keys the system font stays (the other painting tests).
#include "SkinTestKit.h"

#include "config/Settings.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "shell/PrefsDlg.h"
#include "skin/SkinInfo.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace skintest;

namespace {

int CALLBACK NoteTrueTypeFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type,
                                LPARAM found) {
    auto* face = reinterpret_cast<std::wstring*>(found);
    if ((type & TRUETYPE_FONTTYPE) && font->lfFaceName[0] != L'@') {
        *face = font->lfFaceName;
        return 0;
    }
    return 1;
}

// A TrueType family this system has (whichever the system lists first).
std::wstring InstalledTrueTypeFace() {
    std::wstring face;
    HDC screen = ::GetDC(nullptr);
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen, &all, NoteTrueTypeFamily, reinterpret_cast<LPARAM>(&face), 0);
    ::ReleaseDC(nullptr, screen);
    return face;
}

std::string Utf8(const std::wstring& text) {
    char bytes[256] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

// The character height of a font of `points` points on the screen.
int ScreenHeightFor(int points) {
    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    return height;
}

// How the text measures in the font (null: a DC's default font), as DrawText
// lays it out with line feeds breaking lines.
int TextWidth(HFONT font, const std::string& text) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
    RECT rect{0, 0, 0, 0};
    ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    if (previous)
        ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return rect.right - rect.left;
}

// The pop-up's width for a text this wide: the narrowest 2 + 45 n pixels,
// n >= 7 tiles, that leaves at least 25 pixels beside the text.
int PopupWidthFor(int textWidth) {
    int tiles = 7;
    while (2 + 45 * tiles < textWidth + 45)
        ++tiles;
    return 2 + 45 * tiles;
}

LOGFONTW FontOf(HFONT font) {
    LOGFONTW request{};
    ::GetObjectW(font, sizeof request, &request);
    return request;
}

class SkinFontTest : public SkinnedPopupTest {
  protected:
    void SetUp() override {
        SkinnedPopupTest::SetUp();
        ASSERT_FALSE(m_face.empty()) << "no TrueType font on this system";
        m_skins.Write("Plain.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + kColours);
        m_skins.Write("Big.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + kColours + "font=" + Utf8(m_face) +
                                     "\r\nfontsize=20\r\nfontweight=700\r\n");
        m_skins.Write("Missing.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + kColours +
                                         "font=No Such Face Anywhere\r\nfontsize=9\r\n");
        // The same font as Big's, made here.
        LOGFONTW big{};
        big.lfHeight = ScreenHeightFor(20);
        big.lfWeight = 700;
        big.lfCharSet = DEFAULT_CHARSET;
        big.lfOutPrecision = OUT_TT_PRECIS;
        m_face.copy(big.lfFaceName, LF_FACESIZE - 1);
        m_bigFont.CreateFontIndirect(big);
        ASSERT_TRUE(m_bigFont);
    }

    std::wstring m_face = InstalledTrueTypeFace();
    CFont m_bigFont;
};

TEST_F(SkinFontTest, TheKeysMakeTheFontTheyName) {
    SkinInfo skin;
    skin.Load("Big");
    ASSERT_TRUE(skin.font) << "no font made";
    const LOGFONTW made = FontOf(skin.font);
    EXPECT_EQ(std::wstring(made.lfFaceName), m_face);
    EXPECT_EQ(made.lfHeight, ScreenHeightFor(20));
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_EQ(made.lfItalic, 0);
    EXPECT_EQ(made.lfOutPrecision, OUT_TT_PRECIS)
        << "TrueType, which Windows links to other scripts";

    // Without the keys there is no font: the device context's own is used.
    skin.Load("Plain");
    EXPECT_FALSE(skin.font);
}

TEST_F(SkinFontTest, AFaceTheSystemLacksGivesWayToTheDialogFace) {
    SkinInfo skin;
    skin.Load("Missing");
    ASSERT_TRUE(skin.font);
    const LOGFONTW made = FontOf(skin.font);
    EXPECT_EQ(std::wstring(made.lfFaceName), L"MS Shell Dlg 2");
    EXPECT_EQ(made.lfHeight, ScreenHeightFor(9));
    EXPECT_EQ(made.lfWeight, 400);
}

TEST_F(SkinFontTest, ThePopupIsLaidOutAndDrawnInTheSkinsFont) {
    const std::string text = "Wide Words In Big Type";
    const int systemWidth = TextWidth(nullptr, text);
    const int bigWidth = TextWidth(m_bigFont, text);
    ASSERT_LE(systemWidth, 272) << "the system font would need no eighth tile";
    ASSERT_GT(bigWidth, 272);
    const int width = PopupWidthFor(bigWidth);
    ASSERT_LE(width, 480) << "the canvas is too narrow for this font";

    Wear("Big");
    m_popup.SetTrackText(text);
    Canvas canvas;
    m_popup.PaintInto(canvas);

    PopupLook look;
    look.width = width;
    look.tiles.assign(static_cast<size_t>((width - 2) / 45), kMiddle);
    look.border = kBorder;
    look.prev = kPrev;
    look.next = kNext;
    look.lyrics = kLyrics;
    EXPECT_TRUE(PaintedAs(canvas, look, RECT{10, 9, width - 10, 57}));
    const RECT ink = InkExtent(canvas, look);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right - ink.left, bigWidth);
    EXPECT_GE(ink.right - ink.left, bigWidth - 4);
}

TEST_F(SkinFontTest, TheHoverCaptionIsDrawnInTheSkinsFont) {
    SIZE big{}, system{};
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::GetTextExtentPoint32A(dc, "Next", 4, &system);
    HGDIOBJ previous = ::SelectObject(dc, m_bigFont);
    ::GetTextExtentPoint32A(dc, "Next", 4, &big);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ASSERT_GT(big.cx, system.cx + 4) << "the fonts must be told apart";

    Wear("Big");
    m_popup.SetHover(HOVER_NEXT);
    Canvas canvas;
    m_popup.PaintInto(canvas);
    // Right-aligned against the caption area's right edge (x = 292).
    const RECT ink = canvas.Extent(kText);
    ASSERT_GT(ink.right, ink.left) << "no caption";
    EXPECT_LE(ink.right, 317 - 25);
    EXPECT_LE(ink.right - ink.left, big.cx);
    EXPECT_GE(ink.right - ink.left, big.cx - 4);
}

TEST_F(SkinFontTest, ThePreferencesPreviewUsesTheSkinsFont) {
    // The sample's widest line, "Album Title", decides the ink's width.
    const int bigWidth = TextWidth(m_bigFont, "Album Title");
    ASSERT_GT(bigWidth, TextWidth(nullptr, "Album Title") + 4) << "the fonts must be told apart";

    CPrefsDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_PREFERENCES));
    const int index = static_cast<int>(dialog.m_cbSkin.SendMessage(
        CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Big")));
    ASSERT_NE(index, CB_ERR);
    dialog.m_cbSkin.SetCurSel(index);
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SKIN_LIST, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(dialog.m_cbSkin.m_hWnd));
    Canvas canvas(400, 200);
    dialog.PaintPreview(canvas.Dc());

    const RECT ink = canvas.Extent(kText);
    ASSERT_GT(ink.right, ink.left) << "no sample text";
    EXPECT_GE(ink.left, 37);
    EXPECT_LE(ink.right - ink.left, bigWidth);
    EXPECT_GE(ink.right - ink.left, bigWidth - 4);
}

TEST_F(SkinFontTest, TheFontIsOwnedByTheSkinAndFreedOnEveryReload) {
    const int before = CountGdiObjects();
    ASSERT_GE(before, 0) << "the process's GDI handle table cannot be read here";
    {
        SkinInfo skin;
        skin.Load("Big");
        const int wearing = CountGdiObjects();
        for (int i = 0; i < 200; ++i)
            skin.Load(i % 2 == 0 ? "Plain" : "Big");
        EXPECT_TRUE(skin.font);
        EXPECT_EQ(CountGdiObjects(), wearing);
        skin.Load("Plain");
        EXPECT_EQ(CountGdiObjects(), wearing - 1) << "the font went with its skin";
    }
    EXPECT_EQ(CountGdiObjects(), before);
}

} // namespace
