// Loading skins into the pop-up: which keys of a definition are read and
// how, where the bitmaps come from, what a missing or broken skin looks like,
// the default skin name, reloading, and that no GDI object is lost however
// often a skin is loaded. Each load is checked by painting the pop-up.
#include "SkinTestKit.h"

#include "config/Settings.h"
#include "tests/e2e/support/TestBytes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace skintest;
using testbytes::Bytes;
using testbytes::RandomBytes;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

// Points inside the three buttons, the caption area and the frame of a
// pop-up with no track text (317 pixels wide).
constexpr POINT kPrevPoint{303, 14};
constexpr POINT kNextPoint{303, 33};
constexpr POINT kLyricsPoint{303, 52};
constexpr RECT kCaptionArea{317 - 84, 44, 317 - 25, 60};

struct Buttons {
    COLORREF prev, next, lyrics;
};

bool operator==(const Buttons& a, const Buttons& b) {
    return a.prev == b.prev && a.next == b.next && a.lyrics == b.lyrics;
}

std::ostream& operator<<(std::ostream& out, const Buttons& buttons) {
    return out << std::hex << "{" << buttons.prev << ", " << buttons.next << ", " << buttons.lyrics
               << "}" << std::dec;
}

Buttons ButtonsOf(const Canvas& canvas) {
    return Buttons{canvas.At(kPrevPoint.x, kPrevPoint.y), canvas.At(kNextPoint.x, kNextPoint.y),
                   canvas.At(kLyricsPoint.x, kLyricsPoint.y)};
}

// The frame's colour, when all four edges agree.
std::optional<COLORREF> FrameOf(const Canvas& canvas) {
    const COLORREF colour = canvas.At(0, 0);
    for (POINT p : {POINT{316, 0}, POINT{0, 65}, POINT{316, 65}, POINT{150, 0}, POINT{150, 65},
                    POINT{0, 30}, POINT{316, 30}}) {
        if (canvas.At(p.x, p.y) != colour)
            return std::nullopt;
    }
    return colour;
}

const Buttons kSkinFolderButtons{kPrev, kNext, kLyrics};

class SkinLoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_settingsIni.Clear();
        ASSERT_NE(m_popup.m_hWnd, nullptr);
        m_skins.WritePieces();
    }
    void TearDown() override { g_settingsIni.Clear(); }

    // Loads the skin with this definition and paints the pop-up.
    void WearDefinition(const std::string& definition, const Canvas& canvas) {
        m_skins.Write("Test.ini", definition);
        Wear("Test", canvas);
    }
    void Wear(const std::string& skin, const Canvas& canvas) {
        g_settingsIni.SetString(kPreferencesSection, kSkinKey, skin);
        m_popup.LoadSkin();
        m_popup.PaintInto(canvas);
    }

    TempSkinDirectory m_skins;
    TestPopup m_popup;
};

TEST_F(SkinLoadTest, BgtypeDecidesWhetherTheEndTilesAreUsed) {
    const COLORREF L = kLeftEnd, M = kMiddle, R = kRightEnd;
    const std::vector<COLORREF> onePiece(7, M);
    const std::vector<COLORREF> threePiece{L, M, M, M, M, M, R};
    m_skins.Write("notes.bmp", "not a picture\r\n");
    const struct {
        const char* name;
        std::string keys;
        std::vector<COLORREF> tiles;
    } cases[] = {
        {"no bgtype: end tiles ignored", "imagel=left.bmp\r\nimager=right.bmp\r\n", onePiece},
        {"bgtype 0", "bgtype=0\r\nimagel=left.bmp\r\nimager=right.bmp\r\n", onePiece},
        {"bgtype 1", "bgtype=1\r\nimagel=left.bmp\r\nimager=right.bmp\r\n", threePiece},
        {"negative bgtype", "bgtype=-3\r\nimagel=left.bmp\r\nimager=right.bmp\r\n", threePiece},
        {"bgtype not a number", "bgtype=yes\r\nimagel=left.bmp\r\nimager=right.bmp\r\n", onePiece},
        {"blanks around the equals sign", "bgtype = 1\r\nimagel=left.bmp\r\nimager=right.bmp\r\n",
         onePiece},
        {"right end missing: one piece", "bgtype=1\r\nimagel=left.bmp\r\nimager=gone.bmp\r\n",
         onePiece},
        {"right end not a bitmap: one piece", "bgtype=1\r\nimagel=left.bmp\r\nimager=notes.bmp\r\n",
         onePiece},
        {"left end missing: middle tile first",
         "bgtype=1\r\nimagel=gone.bmp\r\nimager=right.bmp\r\n",
         {M, M, M, M, M, M, R}},
    };
    // One window object throughout: nothing of a skin outlives the next load.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        WearDefinition("[SKIN]\r\nimage=mid.bmp\r\n" + c.keys + kColours, canvas);
        EXPECT_EQ(TileColours(canvas), c.tiles);
        EXPECT_EQ(ButtonsOf(canvas), kSkinFolderButtons);
        EXPECT_EQ(FrameOf(canvas), kBorder);
    }
}

TEST_F(SkinLoadTest, IconsPrefixIsPutBeforeTheButtonFileNamesAsItIs) {
    const Buttons inFolder{RGB(1, 100, 1), RGB(2, 100, 2), RGB(3, 100, 3)};
    const Buttons glued{RGB(1, 200, 1), RGB(2, 200, 2), RGB(3, 200, 3)};
    const Buttons prefixed{RGB(1, 50, 90), RGB(2, 50, 90), RGB(3, 50, 90)};
    m_skins.WriteSolidBitmap("btn\\prev.bmp", 13, 16, inFolder.prev);
    m_skins.WriteSolidBitmap("btn\\next.bmp", 13, 16, inFolder.next);
    m_skins.WriteSolidBitmap("btn\\lyr.bmp", 13, 16, inFolder.lyrics);
    m_skins.WriteSolidBitmap("btnprev.bmp", 13, 16, glued.prev);
    m_skins.WriteSolidBitmap("btnnext.bmp", 13, 16, glued.next);
    m_skins.WriteSolidBitmap("btnlyr.bmp", 13, 16, glued.lyrics);
    m_skins.WriteSolidBitmap("sky_prev.bmp", 13, 16, prefixed.prev);
    m_skins.WriteSolidBitmap("sky_next.bmp", 13, 16, prefixed.next);
    m_skins.WriteSolidBitmap("sky_lyr.bmp", 13, 16, prefixed.lyrics);

    const std::pair<const char*, Buttons> cases[] = {
        {"", kSkinFolderButtons}, {"icons=\r\n", kSkinFolderButtons}, {"icons=btn\\\r\n", inFolder},
        {"icons=btn\r\n", glued}, {"icons=sky_\r\n", prefixed},
    };
    for (const auto& [icons, buttons] : cases) {
        SCOPED_TRACE(icons);
        Canvas canvas;
        WearDefinition("[SKIN]\r\nimage=mid.bmp\r\n" + std::string(icons) + kColours, canvas);
        EXPECT_EQ(ButtonsOf(canvas), buttons);
        EXPECT_EQ(TileColours(canvas), std::vector<COLORREF>(7, kMiddle));
    }
}

TEST_F(SkinLoadTest, ColoursReadBlueGreenRedFromLeftToRight) {
    const std::pair<const char*, COLORREF> cases[] = {
        {"0000FF", RGB(255, 0, 0)},     {"FF0000", RGB(0, 0, 255)},
        {"00FF00", RGB(0, 255, 0)},     {"00102030", RGB(0x30, 0x20, 0x10)},
        {"ffffff", RGB(255, 255, 255)}, {"0x0000ff", RGB(255, 0, 0)},
    };
    // Each colour is tried on the frame and on the text, the other one grey.
    const std::string grey = "00808080";
    const COLORREF greyColour = RGB(128, 128, 128);
    m_popup.SetHover(HOVER_NEXT);
    for (const auto& [value, colour] : cases) {
        SCOPED_TRACE(value);
        Canvas framed;
        WearDefinition("[SKIN]\r\nimage=mid.bmp\r\ntext=" + grey + "\r\nborder=" + value + "\r\n",
                       framed);
        EXPECT_EQ(FrameOf(framed), colour);
        EXPECT_EQ(framed.Extent(colour, kCaptionArea).right, 0);

        Canvas written;
        WearDefinition("[SKIN]\r\nimage=mid.bmp\r\ntext=" + std::string(value) +
                           "\r\nborder=" + grey + "\r\n",
                       written);
        EXPECT_EQ(FrameOf(written), greyColour);
        // The hover caption is written in the text colour.
        EXPECT_GT(written.Extent(colour, kCaptionArea).right, 0) << "no caption in the text colour";
    }

    // Without colours, frame and text are black.
    Canvas canvas;
    WearDefinition("[SKIN]\r\nimage=mid.bmp\r\n", canvas);
    EXPECT_EQ(FrameOf(canvas), kBlack);
    const RECT ink = canvas.Extent(kBlack, kCaptionArea);
    EXPECT_GT(ink.right, ink.left) << "no black caption";
}

TEST_F(SkinLoadTest, ADefinitionWithoutItsSkinSectionReadsAsEmpty) {
    const std::string keys = "image=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\nimager=right.bmp\r\n"
                             "icons=btn\\\r\n" +
                             kColours;
    m_skins.WriteSolidBitmap("btn\\prev.bmp", 13, 16, RGB(9, 9, 9));
    const std::pair<const char*, std::string> cases[] = {
        {"section in small letters", "[skin]\r\n" + keys},
        {"keys before any section", keys},
        {"another section", "[PREFERENCES]\r\n" + keys},
        {"empty file", ""},
    };
    for (const auto& [name, definition] : cases) {
        SCOPED_TRACE(name);
        Canvas canvas;
        WearDefinition(definition, canvas);
        // No background bitmap, a black frame, buttons from the skin folder.
        for (COLORREF tile : TileColours(canvas)) {
            EXPECT_NE(tile, kMiddle);
            EXPECT_NE(tile, kLeftEnd);
            EXPECT_NE(tile, kRightEnd);
        }
        EXPECT_EQ(FrameOf(canvas), kBlack);
        EXPECT_EQ(ButtonsOf(canvas), kSkinFolderButtons);
    }
}

TEST_F(SkinLoadTest, AMissingDefinitionIsCreatedEmptyWhereTheSkinFolderExists) {
    ASSERT_FALSE(m_skins.Read("Ghost.ini").has_value());
    Canvas canvas;
    Wear("Ghost", canvas);
    EXPECT_EQ(m_skins.Read("Ghost.ini"), std::string()); // so the Preferences list shows it
    EXPECT_EQ(FrameOf(canvas), kBlack);
    EXPECT_EQ(ButtonsOf(canvas), kSkinFolderButtons);

    // Without the folder nothing is created, and nothing of it shows.
    const std::string absent = m_skins.Path() + "absent\\";
    SetSkinDirectory(absent);
    Canvas elsewhere;
    Wear("Ghost", elsewhere);
    SetSkinDirectory(m_skins.Path());
    EXPECT_EQ(::GetFileAttributesA(absent.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FrameOf(elsewhere), kBlack);
    const Buttons buttons = ButtonsOf(elsewhere);
    EXPECT_NE(buttons.prev, kPrev);
    EXPECT_NE(buttons.next, kNext);
    EXPECT_NE(buttons.lyrics, kLyrics);

    // A name that climbs out of the folder is missing too: nothing is
    // created outside (here: in the folder above the skin folder).
    SetSkinDirectory(m_skins.Path() + "inner\\");
    Wear("..\\Escaped", elsewhere);
    SetSkinDirectory(m_skins.Path());
    EXPECT_FALSE(m_skins.Read("Escaped.ini").has_value());
}

TEST_F(SkinLoadTest, AnEmptySkinSettingStoresTheDefaultNameAndLoadsThatSkin) {
    m_skins.Write("Default Skin 1.ini", "[SKIN]\r\nimage=mid.bmp\r\n" + kColours);
    const std::string settings = m_skins.Path() + "settings.ini";
    for (const char* before : {"", "[PREFERENCES]\r\nskin=\r\n"}) {
        SCOPED_TRACE(before);
        m_skins.Write("settings.ini", before);
        g_settingsIni.Load(settings);
        m_popup.LoadSkin();
        EXPECT_EQ(m_skins.Read("settings.ini"), "[PREFERENCES]\r\nskin=Default Skin 1\r\n\r\n");
        Canvas canvas;
        m_popup.PaintInto(canvas);
        EXPECT_EQ(TileColours(canvas), std::vector<COLORREF>(7, kMiddle));
        EXPECT_EQ(FrameOf(canvas), kBorder);
    }

    // A name without a definition stays as it is, and the file is not rewritten.
    const std::string ghost = "[PREFERENCES]\r\nskin=Ghost\r\n";
    m_skins.Write("settings.ini", ghost);
    g_settingsIni.Load(settings);
    m_popup.LoadSkin();
    EXPECT_EQ(m_skins.Read("settings.ini"), ghost);
    EXPECT_EQ(g_settingsIni.GetString(kPreferencesSection, kSkinKey), "Ghost");
}

TEST_F(SkinLoadTest, LoadingAgainReadsTheSkinFilesAfresh) {
    m_skins.Write("Skin.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                              "imager=right.bmp\r\n" +
                                  kColours);
    Canvas first;
    Wear("Skin", first);
    ASSERT_EQ(TileColours(first), (std::vector<COLORREF>{kLeftEnd, kMiddle, kMiddle, kMiddle,
                                                         kMiddle, kMiddle, kRightEnd}));
    Canvas unchanged, second;
    const int objects = CountGdiObjects();

    // The files change while the skin is loaded; only the next load shows it.
    const COLORREF newTile = RGB(33, 66, 99), newBorder = RGB(0, 0, 255);
    m_skins.WriteSolidBitmap("mid.bmp", 45, 64, newTile);
    m_skins.Write("Skin.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=0\r\nimagel=left.bmp\r\n"
                              "imager=right.bmp\r\nborder=00FF0000\r\n");
    m_popup.PaintInto(unchanged);
    EXPECT_EQ(TileColours(unchanged), TileColours(first));

    m_popup.LoadSkin();
    m_popup.PaintInto(second);
    EXPECT_EQ(TileColours(second), std::vector<COLORREF>(7, newTile)); // the end tiles are gone
    EXPECT_EQ(FrameOf(second), newBorder);
    // Two bitmaps fewer (the end tiles); the old ones were all released.
    EXPECT_EQ(CountGdiObjects(), objects - 2);
}

TEST_F(SkinLoadTest, AThousandLoadsLeaveTheProcessGdiObjectCountUnchanged) {
    // The counter must see objects come and go, or the test proves nothing.
    const int empty = CountGdiObjects();
    ASSERT_GE(empty, 0) << "the process's GDI handle table cannot be read here";
    HBRUSH probe = ::CreateSolidBrush(RGB(1, 1, 1));
    EXPECT_EQ(CountGdiObjects(), empty + 1);
    ::DeleteObject(probe);
    EXPECT_EQ(CountGdiObjects(), empty);

    m_skins.Write("Skin.ini", "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\n"
                              "imager=right.bmp\r\n" +
                                  kColours);
    {
        TestPopup popup;
        ASSERT_NE(popup.m_hWnd, nullptr);
        Canvas canvas;
        g_settingsIni.SetString(kPreferencesSection, kSkinKey, "Skin");
        popup.LoadSkin();
        popup.PaintInto(canvas); // the platform's own caches fill on first use
        const int objects = CountGdiObjects();

        for (int i = 0; i < 1000; ++i) {
            popup.LoadSkin();
            popup.SetHover(static_cast<HoverValue>(i % 4));
            popup.PaintInto(canvas);
        }
        EXPECT_EQ(CountGdiObjects(), objects);
        EXPECT_EQ(TileColours(canvas), (std::vector<COLORREF>{kLeftEnd, kMiddle, kMiddle, kMiddle,
                                                              kMiddle, kMiddle, kRightEnd}));

        // What Exit does: the six bitmaps go, the brush stays with the window object.
        popup.View().ReleaseSkinBitmaps();
        EXPECT_EQ(CountGdiObjects(), objects - 6);
    }
}

TEST_F(SkinLoadTest, MissingButtonBitmapsShowTheBitmapSelectedBeforeThem) {
    m_skins.WriteSolidBitmap("some\\next.bmp", 13, 16, kNext);
    const struct {
        const char* name;
        std::string definition;
        Buttons buttons;
    } cases[] = {
        // Previous takes the last tile's corner, Lyrics the Next button.
        {"three pieces, only Next",
         "[SKIN]\r\nimage=mid.bmp\r\nbgtype=1\r\nimagel=left.bmp\r\nimager=right.bmp\r\n"
         "icons=some\\\r\n",
         {kRightEnd, kNext, kNext}},
        {"one piece, no buttons",
         "[SKIN]\r\nimage=mid.bmp\r\nicons=none\\\r\n",
         {kMiddle, kMiddle, kMiddle}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        WearDefinition(c.definition, canvas);
        EXPECT_EQ(ButtonsOf(canvas), c.buttons);
    }
}

// --- Broken skins: the pop-up shows whatever loaded -------------------------

std::string Truncated(std::string bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

// A bitmap file header that claims a picture of this size, followed by a few bytes.
std::string ClaimedBitmap(int32_t width, int32_t height) {
    std::string bytes = Truncated(SolidBitmapFile(1, 1, kMiddle), 54);
    std::memcpy(&bytes[18], &width, sizeof width);
    std::memcpy(&bytes[22], &height, sizeof height);
    return bytes + std::string(100, '\x7f');
}

// What still loads of a broken skin: the buttons from the skin folder
// always, the frame's colour when the definition gives a plain one, and the
// tiles when a background does load.
struct BrokenSkin {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::string definition;
    std::optional<COLORREF> frame;
    std::vector<COLORREF> tiles; // none: not the test's to say
};

void PrintTo(const BrokenSkin& skin, std::ostream* out) {
    *out << skin.name;
}

class BrokenSkinTest : public SkinLoadTest, public ::testing::WithParamInterface<BrokenSkin> {};

TEST_P(BrokenSkinTest, LoadsAndPaintsWhatItCan) {
    const BrokenSkin& skin = GetParam();
    for (const auto& [name, bytes] : skin.files)
        m_skins.Write(name, bytes);
    m_popup.SetTrackText("Artist\nTitle\nWinamp");
    m_popup.SetHover(HOVER_LYRICS);
    for (int load = 0; load < 2; ++load) {
        Canvas canvas;
        WearDefinition(skin.definition, canvas);
        EXPECT_EQ(ButtonsOf(canvas), kSkinFolderButtons);
        if (skin.frame) {
            EXPECT_EQ(FrameOf(canvas), skin.frame);
        }
        if (!skin.tiles.empty()) {
            EXPECT_EQ(TileColours(canvas), skin.tiles);
        }
    }
    // And a good skin loads over it as if nothing had happened.
    Canvas canvas;
    WearDefinition("[SKIN]\r\nimage=mid.bmp\r\n" + kColours, canvas);
    EXPECT_EQ(TileColours(canvas), std::vector<COLORREF>(7, kMiddle));
    EXPECT_EQ(FrameOf(canvas), kBorder);
}

const std::string kGood = SolidBitmapFile(45, 64, kMiddle);

BrokenSkin BadImage(const char* name, const std::string& bytes) {
    return BrokenSkin{
        name,
        {{"bad.bmp", bytes}},
        "[SKIN]\r\nimage=bad.bmp\r\nbgtype=1\r\nimagel=bad.bmp\r\nimager=bad.bmp\r\n" + kColours,
        kBorder,
        {}};
}

INSTANTIATE_TEST_SUITE_P(
    Skins, BrokenSkinTest,
    ::testing::Values(
        BadImage("EmptyFile", ""),
        BrokenSkin{
            "NoImageFiles",
            {},
            "[SKIN]\r\nimage=gone.bmp\r\nbgtype=1\r\nimagel=gone.bmp\r\nimager=gone.bmp\r\n" +
                kColours,
            kBorder,
            {}},
        BadImage("TruncatedInThePixels", Truncated(kGood, kGood.size() / 2)),
        BadImage("TruncatedInTheHeader", Truncated(kGood, 30)),
        BadImage("HeaderOnly", Truncated(kGood, 54)), BadImage("Text", "this is not a picture\r\n"),
        BadImage("PngSignature", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
        BadImage("HugeClaimedSize", ClaimedBitmap(16000, 16000)),
        BadImage("LargestClaimedSize", ClaimedBitmap(0x7fffffff, 0x7fffffff)),
        BadImage("NegativeClaimedSize", ClaimedBitmap(-45, INT32_MIN)),
        BadImage("RandomBytesAfterBM", "BM" + RandomBytes(5000, 7)),
        BrokenSkin{"ImageIsAFolder",
                   {{"folder\\inside.txt", "x"}},
                   "[SKIN]\r\nimage=folder\r\nbgtype=1\r\nimagel=folder\\\r\nimager=.\r\n" +
                       kColours,
                   kBorder,
                   {}},
        BrokenSkin{"VeryLongImageValues",
                   {},
                   "[SKIN]\r\nimage=" + std::string(1000, 'x') +
                       "\r\nbgtype=1\r\nimagel=" + std::string(5000, 'y') +
                       "\r\nimager=" + std::string(300, '\\') + "\r\n" + kColours,
                   kBorder,
                   {}},
        BrokenSkin{"HugeNumbers",
                   {},
                   "[SKIN]\r\nimage=mid.bmp\r\nbgtype=999999999999999999999\r\nimagel=left.bmp\r\n"
                   "imager=gone.bmp\r\ntext=FFFFFFFF\r\nborder=7FFFFFFF\r\n",
                   std::nullopt,                       // not a plain colour
                   std::vector<COLORREF>(7, kMiddle)}, // no right end: one piece
        // No line of it is a SKIN key: no background, a black frame.
        BrokenSkin{"RandomDefinition", {}, RandomBytes(64 * 1024, 11), kBlack, {}},
        BrokenSkin{"NulBytesDefinition",
                   {},
                   Bytes("[SKIN]\r\nimage=mid\0.bmp\r\nbor\0der=0000FFFF\r\n") +
                       std::string(1000, '\0'),
                   kBlack, // a NUL ends the line: "bor" holds no "="
                   {}}),
    [](const ::testing::TestParamInfo<BrokenSkin>& param) {
        return std::string(param.param.name);
    });

} // namespace
