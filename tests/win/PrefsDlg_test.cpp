// The Preferences dialog in-process: its skin list, its selection of the
// stored choices, the preview's pixels for each kind of skin background, and
// its ownership of the preview's GDI objects.
#include "config/Settings.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "shell/PrefsDlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Known colours of the test skins' bitmaps and texts (COLORREF 0x00BBGGRR).
constexpr COLORREF kMiddle = RGB(10, 120, 200);
constexpr COLORREF kLeftEnd = RGB(200, 40, 40);
constexpr COLORREF kRightEnd = RGB(40, 200, 40);
constexpr COLORREF kBorder = RGB(255, 255, 0); // "border=0000FFFF"
constexpr COLORREF kText = RGB(255, 255, 255); // "text=00FFFFFF"
constexpr COLORREF kUntouched = RGB(1, 2, 3);  // what the canvas holds before painting

// The preview's place in the dialog's client area.
constexpr RECT kPreview{27, 71, 344, 137};
constexpr int kTiles = 7;
// A row of the tiles below the sample text's three lines.
constexpr int kTileProbeY = 132;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

template <class T> void Append(std::string& bytes, T value) {
    for (size_t i = 0; i < sizeof value; ++i)
        bytes.push_back(static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF));
}

// A 24-bit bitmap file of one colour.
void WriteSolidBitmap(const std::string& path, int width, int height, COLORREF colour) {
    const int stride = (width * 3 + 3) & ~3;
    std::string bytes = "BM";
    Append<uint32_t>(bytes, 54 + stride * height);
    Append<uint32_t>(bytes, 0);
    Append<uint32_t>(bytes, 54);
    Append<uint32_t>(bytes, 40);
    Append<int32_t>(bytes, width);
    Append<int32_t>(bytes, height);
    Append<uint16_t>(bytes, 1);
    Append<uint16_t>(bytes, 24);
    for (int i = 0; i < 6; ++i)
        Append<uint32_t>(bytes, 0);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            row.push_back(static_cast<char>(GetBValue(colour)));
            row.push_back(static_cast<char>(GetGValue(colour)));
            row.push_back(static_cast<char>(GetRValue(colour)));
        }
        row.resize(static_cast<size_t>(stride), '\0');
        bytes += row;
    }
    WriteFile(path, bytes);
}

// A skin folder of its own for each test, removed afterwards.
class SkinFolder {
  public:
    SkinFolder() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        m_path = std::string(temp) + "tg-prefs-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(++counter) + "\\";
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~SkinFolder() {
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA((m_path + "*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                ::DeleteFileA((m_path + found.cFileName).c_str());
            } while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectoryA(m_path.c_str());
    }
    SkinFolder(const SkinFolder&) = delete;
    SkinFolder& operator=(const SkinFolder&) = delete;

    const std::string& Path() const { return m_path; }
    void Write(const std::string& name, const std::string& text) const {
        WriteFile(m_path + name, text);
    }
    // The names that "*.ini" matches here, in the file system's order.
    std::vector<std::string> IniFiles() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA((m_path + "*.ini").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                names.push_back(found.cFileName);
            } while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        return names;
    }

  private:
    std::string m_path;
};

// A 32-bit top-down canvas the size of the dialog's preview area and more,
// filled with kUntouched, to paint the preview into.
class Canvas {
  public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 200;

    Canvas() : m_dc(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<uint32_t*>(bits);
        m_previous = ::SelectObject(m_dc, m_bitmap);
        HBRUSH fill = ::CreateSolidBrush(kUntouched);
        RECT all{0, 0, kWidth, kHeight};
        ::FillRect(m_dc, &all, fill);
        ::DeleteObject(fill);
        ::GdiFlush();
    }
    ~Canvas() {
        ::SelectObject(m_dc, m_previous);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const uint32_t pixel = m_bits[y * kWidth + x]; // 0x00RRGGBB
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

  private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

class PrefsDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_settingsIni.Clear();
        WriteSolidBitmap(m_skins.Path() + "mid.bmp", 45, 64, kMiddle);
        WriteSolidBitmap(m_skins.Path() + "left.bmp", 45, 64, kLeftEnd);
        WriteSolidBitmap(m_skins.Path() + "right.bmp", 45, 64, kRightEnd);
        const std::string colours = "text=00FFFFFF\r\nborder=0000FFFF\r\n";
        // End tiles named but no bgtype: they are ignored.
        m_skins.Write("One.ini",
                      "[SKIN]\r\nimage=mid.bmp\r\nimagel=left.bmp\r\nimager=right.bmp\r\n" +
                          colours);
        m_skins.Write("Three.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                                   "imager=right.bmp\r\n" +
                                       colours);
        m_skins.Write("NoRight.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                                     "imager=gone.bmp\r\n" +
                                         colours);
        // Any non-zero bgtype, negative too, means end tiles.
        m_skins.Write("NoLeft.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=-3\r\nimagel=gone.bmp\r\n"
                                    "imager=right.bmp\r\n" +
                                        colours);
        m_skins.Write("x.y.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + colours);
    }
    void TearDown() override { g_settingsIni.Clear(); }

    // Makes the dialog window (hidden, modeless) over the test's skin folder.
    void Open(CPrefsDlg& dialog) const {
        dialog.SetSkinDirectory(m_skins.Path());
        ASSERT_TRUE(dialog.Create(IDD_PREFERENCES));
    }

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

    // The colour of each of the seven tiles, checked at both edges and on the
    // top and a lower row; a tile whose probes disagree reports kUntouched.
    static std::vector<COLORREF> TileColours(const Canvas& canvas) {
        std::vector<COLORREF> colours;
        for (int i = 0; i < kTiles; ++i) {
            const int left = kPreview.left + 1 + 45 * i;
            const COLORREF colour = canvas.At(left, kTileProbeY);
            const bool same = canvas.At(left + 44, kTileProbeY) == colour &&
                              canvas.At(left + 44, kPreview.top + 1) == colour &&
                              canvas.At(left, kPreview.bottom - 2) == colour;
            colours.push_back(same ? colour : kUntouched);
        }
        return colours;
    }

    static std::vector<COLORREF> PaintedTiles(CPrefsDlg& dialog, const std::string& skin) {
        Choose(dialog, skin);
        Canvas canvas;
        dialog.PaintPreview(canvas.Dc());
        return TileColours(canvas);
    }

    SkinFolder m_skins;
};

TEST_F(PrefsDlgTest, ListsEverySkinFileByItsNameUpToTheLastDot) {
    CPrefsDlg dialog;
    Open(dialog);

    std::vector<std::string> expected;
    for (const std::string& file : m_skins.IniFiles())
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
    Canvas canvas;
    dialog.PaintPreview(canvas.Dc());
    EXPECT_EQ(canvas.At(kPreview.left, kPreview.top), kBorder);

    // OK reports the boxes as they stand.
    ::CheckDlgButton(dialog.m_hWnd, IDC_ENABLE_WMP, BST_CHECKED);
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(dialog.m_bWinamp);
    EXPECT_TRUE(dialog.m_bMediaPlayer);
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

        Canvas canvas;
        dialog.PaintPreview(canvas.Dc());
        for (int y = 0; y < Canvas::kHeight; ++y)
            for (int x = 0; x < Canvas::kWidth; ++x)
                ASSERT_EQ(canvas.At(x, y), kUntouched) << x << "," << y;

        ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(dialog.m_strSkin, "");
        EXPECT_FALSE(dialog.m_bWinamp);
    }
}

TEST_F(PrefsDlgTest, PreviewDrawsFrameTilesAndSampleText) {
    CPrefsDlg dialog;
    Open(dialog);
    Choose(dialog, "One");
    Canvas canvas;
    dialog.PaintPreview(canvas.Dc());

    // A one-pixel frame exactly around (27, 71) - (344, 137), nothing outside.
    for (int x = kPreview.left; x < kPreview.right; ++x) {
        EXPECT_EQ(canvas.At(x, kPreview.top), kBorder) << x;
        EXPECT_EQ(canvas.At(x, kPreview.bottom - 1), kBorder) << x;
        EXPECT_EQ(canvas.At(x, kPreview.top - 1), kUntouched) << x;
        EXPECT_EQ(canvas.At(x, kPreview.bottom), kUntouched) << x;
    }
    for (int y = kPreview.top; y < kPreview.bottom; ++y) {
        EXPECT_EQ(canvas.At(kPreview.left, y), kBorder) << y;
        EXPECT_EQ(canvas.At(kPreview.right - 1, y), kBorder) << y;
        EXPECT_EQ(canvas.At(kPreview.left - 1, y), kUntouched) << y;
        EXPECT_EQ(canvas.At(kPreview.right, y), kUntouched) << y;
    }

    // The sample's three lines in the text colour, from the inset's top-left corner.
    int minX = Canvas::kWidth, minY = Canvas::kHeight, maxY = -1, count = 0;
    for (int y = 0; y < Canvas::kHeight; ++y) {
        for (int x = 0; x < Canvas::kWidth; ++x) {
            if (canvas.At(x, y) != kText)
                continue;
            ++count;
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    ASSERT_GT(count, 0);
    EXPECT_GE(minX, 37);
    EXPECT_LT(minX, 37 + 4);
    EXPECT_GE(minY, 80);
    EXPECT_GE(maxY, 80 + 2 * 12); // a third line
    EXPECT_LT(maxY, kPreview.bottom - 1);
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
    const long before = AfxLiveGdiObjects();
    g_settingsIni.SetString(kPreferencesSection, kSkinKey, "Three");
    {
        CPrefsDlg dialog;
        Open(dialog);
        const long previewing = AfxLiveGdiObjects();
        EXPECT_EQ(previewing, before + 4); // brush, middle, left and right tiles

        for (int i = 0; i < 500; ++i)
            Choose(dialog, i % 2 == 0 ? "One" : "Three");
        EXPECT_EQ(dialog.m_strSkin, "Three");
        EXPECT_EQ(AfxLiveGdiObjects(), previewing);
    }
    EXPECT_EQ(AfxLiveGdiObjects(), before);
}

} // namespace
