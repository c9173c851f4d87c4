// The skins of the running program, read off the screen: the default skin
// on first start (and the settings file that start writes), the other
// shipped skins, a track shown in the default skin (saved as a screenshot),
// and broken skins, with which the pop-up still comes up showing whatever
// loaded, and nothing else appears.
//
// The expected face of the pop-up is built here from the skin's own files:
// frame in the definition's border colour, tiles and buttons copied pixel
// for pixel from the bitmaps.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/PopupPlace.h"
#include "support/TestBytes.h"

#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace e2e;

namespace {

const char kDefaultSettings[] = "[PREFERENCES]\r\nskin=Default Skin 1\r\n\r\n";

// The pop-up at rest with a short text, as a screen rectangle.
constexpr RECT kPopupRect{kPopupAtRest.x, kPopupAtRest.y, kPopupAtRest.Right(),
                          kPopupAtRest.Bottom()};
// Where the text may be drawn, in the pop-up's own coordinates.
constexpr RECT kTextArea{10, 9, 317 - 10, 57};
// The three buttons' top-left corners (13 x 16 each).
constexpr POINT kButtons[] = {{297, 6}, {297, 25}, {297, 44}};

// A 24-bit bitmap file's pixels.
class Picture {
  public:
    explicit Picture(const std::string& path) {
        const std::optional<std::string> bytes = ReadFileBytes(path);
        if (!bytes || bytes->size() < 54 || bytes->compare(0, 2, "BM") != 0)
            throw std::runtime_error("not a bitmap file: " + path);
        const auto field = [&](size_t offset, size_t size) {
            uint32_t value = 0;
            std::memcpy(&value, bytes->data() + offset, size);
            return value;
        };
        m_width = static_cast<int32_t>(field(18, 4));
        const int32_t height = static_cast<int32_t>(field(22, 4));
        m_height = height < 0 ? -height : height;
        if (field(28, 2) != 24 || field(30, 4) != 0)
            throw std::runtime_error("not an uncompressed 24-bit bitmap: " + path);
        const size_t stride = (static_cast<size_t>(m_width) * 3 + 3) & ~size_t{3};
        const size_t offset = field(10, 4);
        if (offset + stride * m_height > bytes->size())
            throw std::runtime_error("bitmap file too short: " + path);
        for (int y = 0; y < m_height; ++y) {
            const int row = height < 0 ? y : m_height - 1 - y; // rows are stored bottom-up
            for (int x = 0; x < m_width; ++x) {
                const char* p = bytes->data() + offset + stride * row + 3 * x;
                m_pixels.push_back(Rgb{static_cast<uint8_t>(p[2]), static_cast<uint8_t>(p[1]),
                                       static_cast<uint8_t>(p[0])});
            }
        }
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

  private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_pixels;
};

// The files of a skin, named relative to the skin folder.
struct SkinFiles {
    std::string name;
    std::string middle;
    std::string left; // empty for a one-piece skin
    std::string right;
    std::string icons; // the prefix of prev.bmp, next.bmp and lyr.bmp
};

void PrintTo(const SkinFiles& skin, std::ostream* out) {
    *out << skin.name;
}

// The colour a skin definition gives a key ("border" or "text").
Rgb SkinColour(const TestInstall& install, const std::string& skin, const std::string& key) {
    CIniFile definition;
    definition.Load(JoinPath(install.SkinFolder(), skin + ".ini"));
    return FromColorRef(definition.GetHex("SKIN", key));
}

// How the pop-up at rest should look, pixel by pixel, in its own coordinates.
class ExpectedFace {
  public:
    ExpectedFace(const TestInstall& install, const SkinFiles& skin, const Rgb& border)
        : m_border(border) {
        const std::string folder = install.SkinFolder();
        const auto load = [&](const std::string& name) { return Picture(JoinPath(folder, name)); };
        const Picture middle = load(skin.middle);
        for (int i = 0; i < 7; ++i) {
            const bool threePiece = !skin.right.empty();
            if (threePiece && i == 0)
                m_tiles.push_back(load(skin.left));
            else if (threePiece && i == 6)
                m_tiles.push_back(load(skin.right));
            else
                m_tiles.push_back(middle);
        }
        for (const char* button : {"prev.bmp", "next.bmp", "lyr.bmp"})
            m_buttons.push_back(load(skin.icons + button));
    }

    Rgb At(int x, int y) const {
        if (x == 0 || y == 0 || x == kPopupAtRest.width - 1 || y == kPopupAtRest.height - 1)
            return m_border;
        for (size_t i = 0; i < m_buttons.size(); ++i) {
            const int bx = x - kButtons[i].x, by = y - kButtons[i].y;
            if (bx >= 0 && bx < 13 && by >= 0 && by < 16)
                return m_buttons[i].At(bx, by);
        }
        const int tile = (x - 1) / 45;
        return m_tiles[static_cast<size_t>(tile)].At((x - 1) % 45, y - 1);
    }

  private:
    Rgb m_border;
    std::vector<Picture> m_tiles;
    std::vector<Picture> m_buttons;
};

// Compares the screen at the pop-up's resting place with the expected face;
// inside `textArea` (pop-up coordinates) anything may have been drawn.
testing::AssertionResult ScreenShows(const ExpectedFace& face, const RECT& textArea = RECT{}) {
    const ScreenCapture screen(kPopupRect);
    int differences = 0;
    std::ostringstream report;
    for (int y = 0; y < kPopupAtRest.height; ++y) {
        for (int x = 0; x < kPopupAtRest.width; ++x) {
            const bool text = x >= textArea.left && x < textArea.right && y >= textArea.top &&
                              y < textArea.bottom;
            const Rgb shown = screen.At(kPopupAtRest.x + x, kPopupAtRest.y + y);
            if (text || shown == face.At(x, y))
                continue;
            if (++differences <= 5)
                report << "\n  (" << x << ", " << y << ") is " << shown << ", expected "
                       << face.At(x, y);
        }
    }
    if (differences == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << differences << " pixels differ:" << report.str();
}

// Painting reaches the screen a little after the window got there.
testing::AssertionResult ScreenComesToShow(const ExpectedFace& face,
                                           const RECT& textArea = RECT{}) {
    WaitUntil([&] { return static_cast<bool>(ScreenShows(face, textArea)); }, 5000, 50);
    return ScreenShows(face, textArea);
}

// Shows the pop-up on demand and waits until it rests.
testing::AssertionResult ShowPopup(const RunningProgram& program) {
    // Wine's own tray window would cover the pop-up's resting place.
    WaitUntil(MoveWineSystemTrayAway, 3000);
    program.PostCommand(kCommandToggle);
    if (WaitUntil([&] { return WindowBox(program.MainWindow()) == kPopupAtRest; }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the pop-up is at " << WindowBox(program.MainWindow());
}

// The process shows no window but its main window (no message, no dialog).
testing::AssertionResult ShowsNothingElse(const RunningProgram& program) {
    for (const WindowInfo& info : program.Windows()) {
        if (info.visible && info.window != program.MainWindow())
            return testing::AssertionFailure()
                   << "a window \"" << info.title << "\" of class " << info.className << " shows";
    }
    return testing::AssertionSuccess();
}

const SkinFiles kDefaultSkin{"Default Skin 1", "background.bmp", "", "", ""};

} // namespace

TEST(Skins, FirstStartWritesTheDefaultSettingsAndWearsTheDefaultSkin) {
    TestInstall install;
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return install.ReadSettings() == std::string(kDefaultSettings); }))
        << install.ReadSettings().value_or("(no settings file)");

    ASSERT_TRUE(ShowPopup(program));
    const ExpectedFace face(install, kDefaultSkin,
                            SkinColour(install, kDefaultSkin.name, "border"));
    EXPECT_TRUE(ScreenComesToShow(face));
    SaveScreenshot("skin-first-start", RECT{0, 0, kPopupRect.right + 32, kPopupRect.bottom + 32});
    EXPECT_TRUE(ShowsNothingElse(program));
    ExitCleanly(program);
}

TEST(Skins, ATrackInTheDefaultSkin) {
    TestInstall install("[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n");
    FakeWinamp winamp("7. The Lanterns - Northern Lights - Winamp");
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    WaitUntil(MoveWineSystemTrayAway, 3000);

    HWND main = program.MainWindow();
    ASSERT_TRUE(WaitUntil([&] { return WindowBox(main) == kPopupAtRest; })) << WindowBox(main);
    const ExpectedFace face(install, kDefaultSkin,
                            SkinColour(install, kDefaultSkin.name, "border"));
    EXPECT_TRUE(ScreenComesToShow(face, kTextArea));
    // The text is written in the skin's text colour (its strokes' middles at least).
    const Rgb text = SkinColour(install, kDefaultSkin.name, "text");
    const ScreenCapture textArea(
        RECT{kPopupRect.left + kTextArea.left, kPopupRect.top + kTextArea.top,
             kPopupRect.left + kTextArea.right, kPopupRect.top + kTextArea.bottom});
    EXPECT_GT(textArea.Count(text), 20) << "no text in " << text;
    SaveScreenshot("skin-default-with-track",
                   RECT{0, 0, kPopupRect.right + 64, kPopupRect.bottom + 32});
    ExitCleanly(program);
}

class ShippedSkin : public testing::TestWithParam<SkinFiles> {};

TEST_P(ShippedSkin, LooksAsItsFiles) {
    const SkinFiles& skin = GetParam();
    TestInstall install("[PREFERENCES]\r\nskin=" + skin.name + "\r\n");
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(ShowPopup(program));
    const ExpectedFace face(install, skin, SkinColour(install, skin.name, "border"));
    EXPECT_TRUE(ScreenComesToShow(face));
    std::string shot = "skin-" + skin.name;
    for (char& c : shot)
        c = c == ' ' ? '-' : static_cast<char>(tolower(static_cast<unsigned char>(c)));
    SaveScreenshot(shot, RECT{0, 0, kPopupRect.right + 32, kPopupRect.bottom + 32});
    ExitCleanly(program);
}

INSTANTIATE_TEST_SUITE_P(Interface, ShippedSkin,
                         testing::Values(SkinFiles{"Aurora", "aurora_mid.bmp", "aurora_left.bmp",
                                                   "aurora_right.bmp", "aurora_"},
                                         SkinFiles{"Paper", "paper\\paper.bmp", "", "", "paper\\"}),
                         [](const testing::TestParamInfo<SkinFiles>& param) {
                             return param.param.name;
                         });

// --- Broken skins ------------------------------------------------------------

struct BrokenSkin {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files; // in the skin folder
    std::string skin;                                       // the name stored in the settings
    std::optional<Rgb> border;                              // what the frame shows
};

void PrintTo(const BrokenSkin& skin, std::ostream* out) {
    *out << skin.name;
}

class BrokenSkinOnScreen : public testing::TestWithParam<BrokenSkin> {};

TEST_P(BrokenSkinOnScreen, ThePopupStillShowsWhatLoaded) {
    const BrokenSkin& broken = GetParam();
    TestInstall install("[PREFERENCES]\r\nskin=" + broken.skin + "\r\n");
    for (const auto& [name, bytes] : broken.files)
        WriteFileBytes(JoinPath(install.SkinFolder(), name), bytes);
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(ShowPopup(program));
    PumpFor(300); // its last repaint

    // The buttons (the default ones in the skin folder) and the frame loaded.
    const std::string folder = install.SkinFolder();
    const char* buttons[] = {"prev.bmp", "next.bmp", "lyr.bmp"};
    for (size_t i = 0; i < 3; ++i) {
        const Picture button(JoinPath(folder, buttons[i]));
        for (POINT probe : {POINT{0, 0}, POINT{6, 8}, POINT{12, 15}}) {
            EXPECT_EQ(ScreenPixel(kPopupRect.left + kButtons[i].x + probe.x,
                                  kPopupRect.top + kButtons[i].y + probe.y),
                      button.At(probe.x, probe.y))
                << buttons[i];
        }
    }
    for (POINT corner : {POINT{0, 0}, POINT{316, 0}, POINT{0, 65}, POINT{316, 65}})
        EXPECT_EQ(ScreenPixel(kPopupRect.left + corner.x, kPopupRect.top + corner.y),
                  broken.border);

    EXPECT_TRUE(program.IsResponsive());
    EXPECT_TRUE(ShowsNothingElse(program));
    ExitCleanly(program);
}

// A bitmap file header claiming 16000 x 16000 pixels, with hardly any behind it.
std::string HugeBitmapHeader() {
    std::string bytes = "BM";
    const uint32_t fields[] = {54 + 100, 0, 54, 40, 16000, 16000, 0x00180001, 0, 0, 0, 0, 0, 0};
    for (uint32_t field : fields)
        bytes.append(reinterpret_cast<const char*>(&field), sizeof field);
    return bytes + std::string(100, '\x55');
}

// The start of a 45 x 64 bitmap file: its headers and a third of its pixels.
std::string TruncatedBitmap() {
    std::string bytes = "BM";
    const uint32_t fields[] = {54 + 8704, 0, 54, 40, 45, 64, 0x00180001, 0, 0, 0, 0, 0, 0};
    for (uint32_t field : fields)
        bytes.append(reinterpret_cast<const char*>(&field), sizeof field);
    return bytes + std::string(8704 / 3, '\x40');
}

const std::string kGreenBorder = "border=0000FF00\r\n";
const Rgb kGreen{0, 255, 0};
const Rgb kBlack{0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenSkinOnScreen,
    testing::Values(BrokenSkin{"MissingBitmaps",
                               {{"Broken.ini",
                                 "[SKIN]\r\nimage=gone.bmp\r\nbgtype=1\r\nimagel=gone.bmp\r\n"
                                 "imager=gone.bmp\r\n" +
                                     kGreenBorder}},
                               "Broken",
                               kGreen},
                    BrokenSkin{"TruncatedBitmap",
                               {{"Broken.ini", "[SKIN]\r\nimage=cut.bmp\r\n" + kGreenBorder},
                                {"cut.bmp", TruncatedBitmap()}},
                               "Broken",
                               kGreen},
                    BrokenSkin{"TextForBitmap",
                               {{"Broken.ini", "[SKIN]\r\nimage=notes.bmp\r\n" + kGreenBorder},
                                {"notes.bmp", "Remember to draw the tiles.\r\n"}},
                               "Broken",
                               kGreen},
                    BrokenSkin{"HugeImageValues",
                               {{"Broken.ini", "[SKIN]\r\nimage=huge.bmp\r\nbgtype=1\r\nimagel=" +
                                                   std::string(1000, 'x') +
                                                   "\r\nimager=huge.bmp\r\n" + kGreenBorder},
                                {"huge.bmp", HugeBitmapHeader()}},
                               "Broken",
                               kGreen},
                    BrokenSkin{"GarbageDefinition",
                               {{"Broken.ini", testbytes::RandomBytes(32 * 1024, 42)}},
                               "Broken",
                               kBlack},
                    BrokenSkin{"NoDefinitionFile", {}, "Nowhere", kBlack}),
    [](const testing::TestParamInfo<BrokenSkin>& param) { return std::string(param.param.name); });

TEST(Skins, ASkinNameWithoutAFileGetsAnEmptyDefinition) {
    TestInstall install("[PREFERENCES]\r\nskin=Nowhere\r\n");
    const std::string definition = JoinPath(install.SkinFolder(), "Nowhere.ini");
    ASSERT_FALSE(FileExists(definition));
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(definition); }));
    EXPECT_EQ(ReadFileBytes(definition), std::string());
    EXPECT_EQ(install.ReadSettings(), std::string("[PREFERENCES]\r\nskin=Nowhere\r\n"));
    ExitCleanly(program);
}
