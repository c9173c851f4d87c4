// The Preferences dialog in-process: its skin list, its selection of the
// stored choices, the preview's pixels for each kind of skin background, and
// its ownership of the preview's GDI objects.
#include "SkinTestKit.h"

#include "config/Settings.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "shell/PrefsDlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace skintest;

namespace {

// The preview's place in the dialog's client area: the pop-up at its
// narrowest, seven tiles wide.
constexpr RECT kPreview{27, 71, 344, 137};

// A canvas with room around the preview, so that paint outside it shows.
class DialogCanvas : public Canvas {
  public:
    DialogCanvas() : Canvas(400, 200) {}
};

class PrefsDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_settingsIni.Clear();
        m_skins.WritePieces();
        // End tiles named but no bgtype: they are ignored.
        m_skins.Write("One.ini",
                      "[SKIN]\r\nimage=mid.bmp\r\nimagel=left.bmp\r\nimager=right.bmp\r\n" +
                          kColours);
        m_skins.Write("Three.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                                   "imager=right.bmp\r\n" +
                                       kColours);
        m_skins.Write("NoRight.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                                     "imager=gone.bmp\r\n" +
                                         kColours);
        // Any non-zero bgtype, negative too, means end tiles.
        m_skins.Write("NoLeft.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=-3\r\nimagel=gone.bmp\r\n"
                                    "imager=right.bmp\r\n" +
                                        kColours);
        m_skins.Write("x.y.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + kColours);
    }
    void TearDown() override { g_settingsIni.Clear(); }

    // Makes the dialog window (hidden, modeless); it lists the test's skin
    // directory, the process's skin directory while m_skins lives.
    static void Open(CPrefsDlg& dialog) { ASSERT_TRUE(dialog.Create(IDD_PREFERENCES)); }

    static std::vector<std::string> Entries(const CPrefsDlg& dialog) {
        std::vector<std::string> entries;
        for (int i = 0; i < dialog.m_cbSkin.GetCount(); ++i)
            entries.push_back(dialog.m_cbSkin.GetLBText(i));
        return entries;
    }

    // Selects the entry as the user would: the list reports the change to the dialog.
    static void Choose(CPrefsDlg& dialog, const std::string& name) {
        const int index = static_cast<int>(dialog.m_cbSkin.SendMessage(
            CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())));
        ASSERT_NE(index, CB_ERR) << name;
        dialog.m_cbSkin.SetCurSel(index);
        ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SKIN_LIST, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(dialog.m_cbSkin.m_hWnd));
    }

    // The colour of each of the preview's seven tiles (see TileColours).
    static std::vector<COLORREF> PaintedTiles(CPrefsDlg& dialog, const std::string& skin) {
        Choose(dialog, skin);
        DialogCanvas canvas;
        dialog.PaintPreview(canvas.Dc());
        return TileColours(canvas, kPreview.right - kPreview.left,
                           POINT{kPreview.left, kPreview.top});
    }

    TempSkinDirectory m_skins;
};

TEST_F(PrefsDlgTest, ListsEverySkinFileByItsNameUpToTheLastDot) {
    CPrefsDlg dialog;
    Open(dialog);

    std::vector<std::string> expected;
    for (const std::string& file : m_skins.Find("*.ini"))
        expected.push_back(file.substr(0, file.size() - 4));
    EXPECT_EQ(Entries(dialog), expected); // the file system's order, unsorted
    EXPECT_EQ(expected.size(), 5u);
    EXPECT_NE(dialog.m_cbSkin.SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>("x.y")),
              CB_ERR);
}

TEST_F(PrefsDlgTest, SelectsTheStoredSkinAndTicksNonZeroPlayers) {
    g_settingsIni.SetString(kPreferencesSection, kSkinKey, "Three");
    g_settingsIni.SetInt(kPreferencesSection, kEnableWinampKey, 2);
    CPrefsDlg dialog;
    Open(dialog);

    ASSERT_NE(dialog.m_cbSkin.GetCurSel(), CB_ERR);
    EXPECT_EQ(dialog.m_cbSkin.GetLBText(dialog.m_cbSkin.GetCurSel()), "Three");
    EXPECT_EQ(dialog.m_strSkin, "Three");
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_ENABLE_WINAMP), BST_CHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_ENABLE_WMP), BST_UNCHECKED);

    // The stored skin is already previewed.
    DialogCanvas canvas;
    dialog.PaintPreview(canvas.Dc());
    EXPECT_EQ(canvas.At(kPreview.left, kPreview.top), kBorder);

    // OK reports the boxes as they stand.
    ::CheckDlgButton(dialog.m_hWnd, IDC_ENABLE_WMP, BST_CHECKED);
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(dialog.Watches(kEnableWinampKey));
    EXPECT_TRUE(dialog.Watches(kEnableWmpKey));
    EXPECT_EQ(dialog.m_hWnd, nullptr); // closed
}

TEST_F(PrefsDlgTest, WithoutAMatchingSkinNothingIsSelectedAndThePreviewStaysBlank) {
    // Names compare case-sensitively.
    for (const char* stored : {"three", "Missing", ""}) {
        SCOPED_TRACE(stored);
        g_settingsIni.SetString(kPreferencesSection, kSkinKey, stored);
        CPrefsDlg dialog;
        Open(dialog);
        EXPECT_EQ(dialog.m_cbSkin.GetCurSel(), CB_ERR);
        EXPECT_EQ(dialog.m_strSkin, "");
        EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_ENABLE_WINAMP), BST_UNCHECKED);

        DialogCanvas canvas;
        dialog.PaintPreview(canvas.Dc());
        EXPECT_EQ(canvas.Count(Canvas::kUntouched), canvas.Width() * canvas.Height());

        ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(dialog.m_strSkin, "");
        EXPECT_FALSE(dialog.Watches(kEnableWinampKey));
    }
}

TEST_F(PrefsDlgTest, PreviewDrawsFrameTilesAndSampleText) {
    CPrefsDlg dialog;
    Open(dialog);
    Choose(dialog, "One");
    DialogCanvas canvas;
    dialog.PaintPreview(canvas.Dc());

    // A one-pixel frame exactly around (27, 71) - (344, 137), nothing outside.
    for (int x = kPreview.left; x < kPreview.right; ++x) {
        EXPECT_EQ(canvas.At(x, kPreview.top), kBorder) << x;
        EXPECT_EQ(canvas.At(x, kPreview.bottom - 1), kBorder) << x;
        EXPECT_EQ(canvas.At(x, kPreview.top - 1), Canvas::kUntouched) << x;
        EXPECT_EQ(canvas.At(x, kPreview.bottom), Canvas::kUntouched) << x;
    }
    for (int y = kPreview.top; y < kPreview.bottom; ++y) {
        EXPECT_EQ(canvas.At(kPreview.left, y), kBorder) << y;
        EXPECT_EQ(canvas.At(kPreview.right - 1, y), kBorder) << y;
        EXPECT_EQ(canvas.At(kPreview.left - 1, y), Canvas::kUntouched) << y;
        EXPECT_EQ(canvas.At(kPreview.right, y), Canvas::kUntouched) << y;
    }

    // The sample's three lines in the text colour, from the inset's top-left corner.
    const RECT ink = canvas.Extent(kText);
    ASSERT_GT(ink.right, ink.left) << "nothing in the text colour";
    EXPECT_GE(ink.left, 37);
    EXPECT_LT(ink.left, 37 + 4);
    EXPECT_GE(ink.top, 80);
    EXPECT_GT(ink.bottom, 80 + 2 * 12);     // a third line
    EXPECT_LT(ink.bottom, kPreview.bottom); // inside the frame
}

TEST_F(PrefsDlgTest, PreviewTilesFollowTheEndTileRule) {
    CPrefsDlg dialog;
    Open(dialog);
    const COLORREF M = kMiddle, L = kLeftEnd, R = kRightEnd;

    // One piece (its end tiles are ignored without bgtype): seven middle tiles.
    EXPECT_EQ(PaintedTiles(dialog, "One"), (std::vector<COLORREF>{M, M, M, M, M, M, M}));
    // Three pieces: left end, five middle tiles, right end.
    EXPECT_EQ(PaintedTiles(dialog, "Three"), (std::vector<COLORREF>{L, M, M, M, M, M, R}));
    // Without its right end the skin counts as one piece.
    EXPECT_EQ(PaintedTiles(dialog, "NoRight"), (std::vector<COLORREF>{M, M, M, M, M, M, M}));
    // Without its left end the middle tile, still selected, fills the first place.
    EXPECT_EQ(PaintedTiles(dialog, "NoLeft"), (std::vector<COLORREF>{M, M, M, M, M, M, R}));
    // And back: nothing of the previous skin remains.
    EXPECT_EQ(PaintedTiles(dialog, "One"), (std::vector<COLORREF>{M, M, M, M, M, M, M}));
    EXPECT_EQ(dialog.m_strSkin, "One");
}

TEST_F(PrefsDlgTest, SwitchingSkinsKeepsGdiObjectsConstantAndClosingFreesThem) {
    g_settingsIni.SetString(kPreferencesSection, kSkinKey, "Three");
    {
        CPrefsDlg first; // the platform's own caches fill on the first dialog
        Open(first);
    }
    const int before = CountGdiObjects();
    ASSERT_GE(before, 0) << "the process's GDI handle table cannot be read here";
    {
        CPrefsDlg dialog;
        Open(dialog);
        const int previewing = CountGdiObjects();
        EXPECT_GE(previewing, before + 7); // at least a brush, three tiles, three buttons

        for (int i = 0; i < 500; ++i)
            Choose(dialog, i % 2 == 0 ? "One" : "Three");
        EXPECT_EQ(dialog.m_strSkin, "Three");
        EXPECT_EQ(CountGdiObjects(), previewing);
    }
    EXPECT_EQ(CountGdiObjects(), before);
}

} // namespace
