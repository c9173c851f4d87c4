// The running program on a screen of 144 DPI (the test prefix's LogPixels,
// swapped for these tests and put back afterwards): the pop-up rests one and
// a half times as far from the corner and is one and a half times as large,
// its text stays inside, its buttons work, it collapses to a scaled sliver,
// and the Preferences preview grows with its dialog.
//
// Every expected place is the 96-DPI one times 1.5, rounded by hand.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/ScreenDpi.h"
#include "support/ScreenTurn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

constexpr DWORD kDpi = 144;

// The narrowest pop-up at rest: (64, 32) and 317 x 66 at 96 DPI.
constexpr Box kAtRest{96, 48, 476, 99};
// In the pop-up's own coordinates: the text rectangle (10, 9) - (307, 57) and
// the Next button (297, 25) - (310, 41) at 96 DPI.
constexpr RECT kTextRect{15, 14, 461, 86};
constexpr POINT kNextButton{455, 50};
// What a hide leaves: the 6-pixel bar, 9 pixels high, at (0, 0), 0 pixels wide
// (the width is even); the bar closes at y = 48 + (99 - 9) / 2.
constexpr Box kSliver{0, 0, 0, 9};
constexpr int kBarTop = 93;

const Rgb kTile{24, 40, 96};
const Rgb kText{255, 230, 0}; // "text=0000E6FF"
const Rgb kBorder{0, 255, 0}; // "border=0000FF00"
constexpr char kFlatColours[] = "text=0000E6FF\r\nborder=0000FF00\r\n";

const std::string kWatchWinamp = "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n\r\n";

// A started program in the flat skin, on the screen of 144 DPI.
class AtHighDpi : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dpi.Active()) << "could not set the prefix's LogPixels";
        AddFlatSkin(m_install, "Flat", kTile, kFlatColours);
        m_program.emplace(m_install);
        m_main = m_program->WaitForMainWindow();
        ASSERT_NE(m_main, nullptr);
        WaitUntil(MoveWineSystemTrayAway, 3000);
        ParkCursor();
    }
    void TearDown() override {
        ParkCursor();
        if (m_main != nullptr && m_program->IsRunning())
            ExitCleanly(*m_program);
    }

    ScreenDpiSwap m_dpi{kDpi};
    TestInstall m_install{kWatchWinamp};
    std::optional<RunningProgram> m_program;
    HWND m_main = nullptr;
};

// The smallest screen rectangle holding every pixel of `colour` in `area`.
RECT ExtentOf(const ScreenCapture& capture, const Rgb& colour) {
    RECT extent{capture.Left() + capture.Width(), capture.Top() + capture.Height(), capture.Left(),
                capture.Top()};
    for (int y = capture.Top(); y < capture.Top() + capture.Height(); ++y) {
        for (int x = capture.Left(); x < capture.Left() + capture.Width(); ++x) {
            if (capture.At(x, y) == colour) {
                extent.left = std::min<LONG>(extent.left, x);
                extent.top = std::min<LONG>(extent.top, y);
                extent.right = std::max<LONG>(extent.right, x + 1);
                extent.bottom = std::max<LONG>(extent.bottom, y + 1);
            }
        }
    }
    return extent.left < extent.right ? extent : RECT{};
}

} // namespace

TEST_F(AtHighDpi, TheTrackRestsScaledWithItsTextInsideAndItsNextButtonWorks) {
    GeometryTrace trace(m_main);
    FakeWinamp winamp("1. Artist - Song - Winamp");
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b == kAtRest; }, kGenerousMs))
        << Describe(trace.Boxes());
    // It grew in along the scaled path: always 99 high at y = 48, never past its place.
    for (const Box& box : trace.Boxes()) {
        if (box.width == 0 && box.height == 0)
            continue; // not shown yet
        EXPECT_EQ(box.y, 48) << Describe(trace.Boxes());
        EXPECT_EQ(box.height, 99) << Describe(trace.Boxes());
        EXPECT_LE(box.width, 476);
    }

    // The face: a frame of the border colour around the tiles, the text
    // inside its rectangle and grown with the system font.
    const RECT onScreen{kAtRest.x, kAtRest.y, kAtRest.Right(), kAtRest.Bottom()};
    bool painted = WaitUntil(
        [&] {
            const ScreenCapture face(onScreen);
            return face.At(96, 48) == kBorder && face.At(97, 49) == kBorder &&
                   face.At(571, 146) == kBorder && face.At(98, 50) == kTile &&
                   face.At(96 + 200, 48 + 92) == kTile && face.Count(kText) > 0;
        },
        5000, 50);
    const ScreenCapture face(onScreen);
    if (!painted)
        SaveScreenshot("dpi-144-face", RECT{0, 0, 640, 200});
    ASSERT_TRUE(painted) << "the pop-up does not show its scaled face; see dpi-144-face.png";
    const RECT ink = ExtentOf(face, kText);
    EXPECT_GE(ink.left, kAtRest.x + kTextRect.left);
    EXPECT_GE(ink.top, kAtRest.y + kTextRect.top);
    EXPECT_LE(ink.right, kAtRest.x + kTextRect.right);
    EXPECT_LE(ink.bottom, kAtRest.y + kTextRect.bottom);
    // Three lines taller than the 48 pixels the text has at 96 DPI.
    EXPECT_GT(ink.bottom - ink.top, 48);

    // A real click in the middle of the scaled Next button.
    SetCursorPos(kAtRest.x + kNextButton.x, kAtRest.y + kNextButton.y);
    ClickLeftButton();
    EXPECT_TRUE(WaitUntil([&] { return winamp.CommandIds() == std::vector<WPARAM>{kWinampNext}; }))
        << "the click on Next reached no player";

    // Off the buttons it collapses to the scaled bar and the sliver.
    ParkCursor();
    trace.Clear();
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b == kSliver; }, kGenerousMs))
        << Describe(trace.Boxes());
    const std::vector<Box>& boxes = trace.Boxes();
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(),
                            [](const Box& b) {
                                return b.x == 96 && b.y == kBarTop && b.width == 476 &&
                                       b.height == 9;
                            }))
        << "no 9-pixel bar at y = 93:\n"
        << Describe(boxes);
}

TEST_F(AtHighDpi, ThePreferencesPreviewGrowsWithItsDialog) {
    m_program->PostCommand(kCommandPreferences);
    HWND dialog = m_program->WaitForDialog("Preferences");
    ASSERT_NE(dialog, nullptr);

    // The "Skin Options" group box and the skin list, in client coordinates.
    auto childRect = [&](const std::function<bool(const WindowInfo&)>& match) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (match(DescribeWindow(child))) {
                RECT rect{};
                GetWindowRect(child, &rect);
                MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
                return rect;
            }
        }
        return RECT{};
    };
    const RECT group = childRect([](const WindowInfo& w) { return w.title == "Skin Options"; });
    const RECT list = childRect([](const WindowInfo& w) { return w.className == "ComboBox"; });
    ASSERT_LT(group.left, group.right) << "no Skin Options group";
    ASSERT_LT(list.left, list.right) << "no skin list";

    // The preview is where the border colour is: the narrowest pop-up's
    // frame (317 x 66 at 96 DPI), grown as the dialog grew, filled with the
    // tile, below the list and inside the group box.
    RECT client{};
    GetClientRect(dialog, &client);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    RECT frame{};
    const bool painted = WaitUntil(
        [&] {
            const ScreenCapture shown(
                RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
            frame = ExtentOf(shown, kBorder);
            const int width = frame.right - frame.left, height = frame.bottom - frame.top;
            return width > 317 && height > 66 && std::abs(width * 66 - height * 317) <= 2 * 317 &&
                   shown.At(frame.left + 3, frame.top + 3) == kTile &&
                   shown.At(frame.right - 4, frame.bottom - 4) == kTile &&
                   shown.At(frame.left + width / 2, frame.bottom - 6) == kTile;
        },
        5000, 50);
    if (!painted)
        SaveScreenshot("dpi-144-preview");
    ASSERT_TRUE(painted) << "no grown preview in the dialog; see dpi-144-preview.png";
    OffsetRect(&frame, -origin.x, -origin.y);
    EXPECT_GT(frame.left, group.left);
    EXPECT_LT(frame.right, group.right);
    EXPECT_GT(frame.top, list.top + (list.bottom - list.top) / 2) << "over the skin list";
    EXPECT_LT(frame.bottom, group.bottom);

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
}
