// The running program on a screen of 144 DPI (the test prefix's LogPixels,
// swapped for these tests and put back afterwards): the pop-up rests one and
// a half times as far from the corner and is one and a half times as large,
// its text stays inside, its Next button works, it collapses to a scaled
// sliver, and the Preferences preview grows with its dialog.
//
// Every expected place is the 96-DPI one times 1.5, rounded by hand.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/ScreenDpi.h"
#include "support/ScreenTurn.h"
#include "support/Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

// The narrowest pop-up at rest: (64, 32) and 317 x 66 at 96 DPI; its text
// rectangle (10, 9) - (307, 57) and the middle of its Next button (303, 33)
// in its own coordinates; after a hide, the 6-pixel bar, 9 high, closed at
// y = 48 + (99 - 9) / 2 and left at (0, 0), 0 wide (the width is even).
constexpr Box kAtRest{96, 48, 476, 99};
constexpr RECT kTextRect{15, 14, 461, 86};
constexpr POINT kNextButton{455, 50};
constexpr Box kBar{96, 93, 476, 9};
constexpr Box kSliver{0, 0, 0, 9};

const Rgb kTile{24, 40, 96};
const Rgb kText{255, 230, 0}; // "text=0000E6FF"
const Rgb kBorder{0, 255, 0}; // "border=0000FF00"

// A started program in a flat skin watching Winamp, on the screen of 144 DPI.
class AtHighDpi : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dpi.Active()) << "could not set the prefix's LogPixels";
        m_session.emplace("[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n\r\n",
                          [](const TestInstall& install) {
                              AddFlatSkin(install, "Flat", kTile,
                                          "text=0000E6FF\r\nborder=0000FF00\r\n");
                          });
        m_main = m_session->Main();
    }
    void TearDown() override { ParkCursor(); }

    ScreenDpiSwap m_dpi{144};
    std::optional<Session> m_session;
    HWND m_main = nullptr;
};

// The smallest screen rectangle holding every pixel of `colour` in the capture.
RECT ExtentOf(const ScreenCapture& capture, const Rgb& colour) {
    RECT extent{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = capture.Top(); y < capture.Top() + capture.Height(); ++y) {
        for (int x = capture.Left(); x < capture.Left() + capture.Width(); ++x) {
            if (capture.At(x, y) == colour) {
                extent =
                    RECT{std::min<LONG>(extent.left, x), std::min<LONG>(extent.top, y),
                         std::max<LONG>(extent.right, x + 1), std::max<LONG>(extent.bottom, y + 1)};
            }
        }
    }
    return extent.left < extent.right ? extent : RECT{};
}

// A child of the dialog that `match` accepts, in the dialog's client coordinates.
RECT ChildRect(HWND dialog, bool (*match)(const WindowInfo&)) {
    RECT rect{};
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (match(DescribeWindow(child))) {
            GetWindowRect(child, &rect);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        }
    }
    return rect;
}

} // namespace

TEST_F(AtHighDpi, TheTrackRestsScaledWithItsTextInsideAndItsNextButtonWorks) {
    GeometryTrace trace(m_main);
    FakeWinamp winamp("1. Artist - Song - Winamp");
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b == kAtRest; }, kGenerousMs))
        << Describe(trace.Boxes());
    for (const Box& box : trace.Boxes()) { // the grow-in: 99 high at y = 48 throughout
        EXPECT_TRUE(box.width == 0 || (box.y == 48 && box.height == 99 && box.width <= 476)) << box;
    }

    // A frame in the border colour around the tiles, and the text inside its
    // rectangle, taller than the 48 pixels it has at 96 DPI.
    const RECT onScreen{kAtRest.x, kAtRest.y, kAtRest.Right(), kAtRest.Bottom()};
    RECT ink{};
    const bool painted = WaitUntil(
        [&] {
            const ScreenCapture face(onScreen);
            ink = ExtentOf(face, kText);
            return face.At(96, 48) == kBorder && face.At(97, 49) == kBorder &&
                   face.At(571, 146) == kBorder && face.At(98, 50) == kTile &&
                   face.At(296, 140) == kTile && ink.right > ink.left;
        },
        5000, 50);
    if (!painted)
        SaveScreenshot("dpi-144-face", RECT{0, 0, 640, 200});
    ASSERT_TRUE(painted) << "the pop-up does not show its scaled face; see dpi-144-face.png";
    EXPECT_GE(ink.left, kAtRest.x + kTextRect.left);
    EXPECT_GE(ink.top, kAtRest.y + kTextRect.top);
    EXPECT_LE(ink.right, kAtRest.x + kTextRect.right);
    EXPECT_LE(ink.bottom, kAtRest.y + kTextRect.bottom);
    EXPECT_GT(ink.bottom - ink.top, 48);

    // A real click in the middle of the scaled Next button.
    SetCursorPos(kAtRest.x + kNextButton.x, kAtRest.y + kNextButton.y);
    ClickLeftButton();
    EXPECT_TRUE(WaitUntil([&] { return winamp.CommandIds() == std::vector<WPARAM>{kWinampNext}; }));

    // Off the buttons it collapses through the scaled bar to the sliver.
    ParkCursor();
    trace.Clear();
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b == kSliver; }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_NE(std::find(trace.Boxes().begin(), trace.Boxes().end(), kBar), trace.Boxes().end())
        << Describe(trace.Boxes());
}

TEST_F(AtHighDpi, ThePreferencesPreviewGrowsWithItsDialog) {
    m_session->Program().PostCommand(kCommandPreferences);
    HWND dialog = m_session->Program().WaitForDialog("Preferences");
    ASSERT_NE(dialog, nullptr);
    const RECT group =
        ChildRect(dialog, [](const WindowInfo& w) { return w.title == "Skin Options"; });
    const RECT list =
        ChildRect(dialog, [](const WindowInfo& w) { return w.className == "ComboBox"; });
    ASSERT_TRUE(group.right > group.left && list.right > list.left);

    // The preview is where the border colour is: the narrowest pop-up's frame
    // (317 x 66 at 96 DPI), grown, filled with the tile, below the list and
    // inside the group box.
    RECT client{};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT frame{};
    const bool painted = WaitUntil(
        [&] {
            const ScreenCapture shown(client);
            frame = ExtentOf(shown, kBorder);
            const int width = frame.right - frame.left, height = frame.bottom - frame.top;
            return width > 317 && height > 66 && std::abs(width * 66 - height * 317) <= 2 * 317 &&
                   shown.At(frame.left + 3, frame.top + 3) == kTile &&
                   shown.At(frame.right - 4, frame.bottom - 4) == kTile;
        },
        5000, 50);
    if (!painted)
        SaveScreenshot("dpi-144-preview");
    ASSERT_TRUE(painted) << "no grown preview in the dialog; see dpi-144-preview.png";
    OffsetRect(&frame, -client.left, -client.top);
    EXPECT_GT(frame.left, group.left);
    EXPECT_LT(frame.right, group.right);
    EXPECT_GT(frame.top, (list.top + list.bottom) / 2) << "over the skin list";
    EXPECT_LT(frame.bottom, group.bottom);

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
}
