// The now-playing pop-up of the running program, watched from outside while a
// fake Winamp changes its title: how it grows in, rests, switches to a new
// track and collapses; what it shows; the buttons under the cursor and their
// captions; clicks; the on-demand toggle; Exit in the middle of a move.
//
// Geometry comes from GetWindowRect traces; the face of the pop-up is read
// from the screen and compared, pixel for pixel, with the same text drawn
// here on a flat test skin.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"
#include "support/TextMeasure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

// This program brings the pop-up up: it takes its turn on the screen.
[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

// The pop-up's resting place and height, short for the arithmetic below.
constexpr int kRestX = kPopupAtRest.x;
constexpr int kRestY = kPopupAtRest.y;
constexpr int kHeight = kPopupAtRest.height;

// A skin of the tests' own, with one flat tile: every pixel of the face that
// is neither text nor frame nor button has the tile's colour.
constexpr char kFlatSkin[] = "Flat";
const Rgb kTile{24, 40, 96};
const Rgb kText{255, 230, 0}; // "text=0000E6FF"
const Rgb kBorder{0, 255, 0}; // "border=0000FF00"
constexpr char kFlatColours[] = "text=0000E6FF\r\nborder=0000FF00\r\n";

// What the program draws with (the window's default font).
constexpr UINT kTrackFlags = DT_NOPREFIX | DT_NOCLIP;
constexpr UINT kCaptionFlags = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;

// ---------------------------------------------------------------------------
// The install

// Watches Winamp, in the flat skin.
const std::string kWatchWinamp = "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n\r\n";

// A fresh install in the flat skin, started, with Wine's tray window moved
// off the pop-up's resting place and the cursor away from the pop-up.
struct Session {
    TestInstall install{kWatchWinamp};
    std::optional<RunningProgram> program;
    HWND main = nullptr;

    Session() {
        AddFlatSkin(install, kFlatSkin, kTile, kFlatColours);
        program.emplace(install);
        main = program->WaitForMainWindow();
        WaitUntil(MoveWineSystemTrayAway, 3000);
        ParkCursor();
    }
};

// ---------------------------------------------------------------------------
// Layout, from the text as this driver measures it

// Whole 45-pixel tiles plus the frame, never fewer than seven.
int PopupWidth(const std::string& text) {
    const RECT measured = MeasureText(text);
    const int width = measured.right - measured.left;
    return width + 45 <= 317 ? 317 : ((width + 42) / 45) * 45 + 47;
}

// After a hide: a sliver six pixels high at the screen's corner, as wide as
// what is left of the closing bar.
Box Sliver(int width) {
    return Box{0, 0, width % 2, 6};
}

// Client points of the buttons (their centres) and of the text area.
POINT PreviousButton(int width) {
    return POINT{width - 14, 14};
}
POINT NextButton(int width) {
    return POINT{width - 14, 33};
}
POINT TextArea() {
    return POINT{30, 20};
}

POINT OnScreen(POINT client) {
    return POINT{kRestX + client.x, kRestY + client.y};
}

// ---------------------------------------------------------------------------
// Shapes of the animations

std::vector<Box> From(const std::vector<Box>& boxes, const std::function<bool(const Box&)>& start) {
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (start(boxes[i])) {
            return std::vector<Box>(boxes.begin() + static_cast<long>(i), boxes.end());
        }
    }
    return {};
}

// The grow-in: the left edge goes from 0 to 64 while the width goes from 0 to
// W, in proportion, at y = 32; it starts near nothing and ends at rest.
testing::AssertionResult GrewIn(const std::vector<Box>& all, int width) {
    const std::vector<Box> boxes =
        From(all, [](const Box& b) { return b.x >= 0 && b.y == kRestY; });
    auto fail = [&](const std::string& why) {
        return testing::AssertionFailure() << why << " (W = " << width << ")\n" << Describe(all);
    };
    if (boxes.size() < 3) {
        return fail("no animation seen");
    }
    if (boxes.back() != PopupAtRest(width)) {
        return fail("it did not end at rest");
    }
    if (boxes.front().x > 16 || boxes.front().width > width / 4) {
        return fail("it did not start near the screen's left edge with almost no width");
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        if (b.y != kRestY || b.height != kHeight || b.x < 0 || b.x > kRestX || b.width > width) {
            return fail("a step left the path");
        }
        if (std::abs(b.x * width - kRestX * b.width) > 2 * width) {
            return fail("the left edge does not move in step with the width");
        }
        if (i > 0 && (b.x < boxes[i - 1].x || b.width < boxes[i - 1].width)) {
            return fail("it went backwards");
        }
    }
    return testing::AssertionSuccess();
}

// The first half of a switch: from rest, the left edge moves right to the
// fixed right edge until almost nothing is left.
testing::AssertionResult ShrankIntoRightEdge(const std::vector<Box>& boxes, int width) {
    auto fail = [&](const std::string& why) {
        return testing::AssertionFailure() << why << " (W = " << width << ")\n" << Describe(boxes);
    };
    if (boxes.size() < 3 || boxes.front() != PopupAtRest(width)) {
        return fail("it did not shrink from rest");
    }
    for (size_t i = 1; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        if (b.y != kRestY || b.height != kHeight || b.Right() != kRestX + width) {
            return fail("the right edge moved");
        }
        if (b.x < boxes[i - 1].x) {
            return fail("it went backwards");
        }
    }
    if (boxes.back().width > width / 3) {
        return fail("it did not shrink towards nothing");
    }
    return testing::AssertionSuccess();
}

// The collapse: from rest it closes about its middle line to a bar 6 pixels
// high, the bar closes towards its centre, and what is left moves to (0, 0).
testing::AssertionResult Collapsed(const std::vector<Box>& boxes, int width) {
    auto fail = [&](const std::string& why) {
        return testing::AssertionFailure() << why << " (W = " << width << ")\n" << Describe(boxes);
    };
    if (boxes.size() < 4 || boxes.front() != PopupAtRest(width) || boxes.back() != Sliver(width)) {
        return fail("it did not go from rest to the sliver");
    }
    const int middle = kRestY + kHeight / 2;
    bool bar = false;
    for (size_t i = 1; i + 1 < boxes.size(); ++i) {
        const Box& b = boxes[i];
        const Box& before = boxes[i - 1];
        const bool vertical = b.x == kRestX && b.width == width && b.height >= 6;
        const bool horizontal = b.y == middle - 3 && b.height == 6;
        if (vertical && !bar) {
            if (std::abs((b.y - kRestY) - (kRestY + kHeight - b.Bottom())) > 1 ||
                b.height > before.height) {
                return fail("it does not close about its middle line");
            }
            bar = b.height == 6;
        } else if (horizontal) {
            bar = true;
            if (std::abs((b.x - kRestX) - (kRestX + width - b.Right())) > 1 ||
                b.width > before.width) {
                return fail("the bar does not close towards its centre");
            }
        } else {
            return fail("a step left the path");
        }
    }
    return testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------
// The face of the pop-up

// The pop-up's rectangle on the screen, when the pop-up is the window the
// user sees there (another program's window may cover it for a moment).
bool PopupOnTop(HWND main, int width) {
    const POINT corners[] = {{kRestX + 1, kRestY + 1},
                             {kRestX + width - 2, kRestY + 1},
                             {kRestX + 1, kRestY + kHeight - 2},
                             {kRestX + width - 2, kRestY + kHeight - 2}};
    for (const POINT& corner : corners) {
        if (WindowFromPoint(corner) != main) {
            return false;
        }
    }
    return true;
}

// The face the pop-up should show, drawn here the way the program draws it:
// the flat tile, the track text from (10, 9) and the hovered button's caption.
class ExpectedFace {
  public:
    ExpectedFace(int width, const std::string& text, const char* caption)
        : m_width(width), m_pixels(PaintedPixels(width, kHeight, [&](HDC dc) {
              GdiObject tile(CreateSolidBrush(RGB(kTile.r, kTile.g, kTile.b)));
              RECT all{0, 0, width, kHeight};
              FillRect(dc, &all, static_cast<HBRUSH>(tile.Get()));
              SetBkMode(dc, TRANSPARENT);
              SetTextColor(dc, RGB(kText.r, kText.g, kText.b));
              if (caption != nullptr) {
                  RECT captionRect{width - 84, 44, width - 25, 60};
                  DrawTextA(dc, caption, -1, &captionRect, kCaptionFlags);
              }
              RECT textRect{10, 9, width - 10, 57};
              DrawTextA(dc, text.c_str(), -1, &textRect, kTrackFlags);
          })) {}

    // Pixels that differ inside the frame, left of the button column.
    int Mismatches(const ScreenCapture& capture) const {
        int count = 0;
        for (int y = 1; y < kHeight - 1; ++y) {
            for (int x = 1; x < m_width - 20; ++x) {
                if (capture.At(kRestX + x, kRestY + y) !=
                    m_pixels[static_cast<size_t>(y) * m_width + x]) {
                    ++count;
                }
            }
        }
        return count;
    }

  private:
    int m_width;
    std::vector<Rgb> m_pixels;
};

RECT PopupOnScreen(int width) {
    return RECT{kRestX, kRestY, kRestX + width, kRestY + kHeight};
}

// Waits (a generous while: repaints and other programs' windows come and go)
// until the pop-up at rest shows exactly this text and caption in its frame.
testing::AssertionResult ShowsFace(HWND main, int width, const std::string& text,
                                   const char* caption, const std::string& artifact) {
    const ExpectedFace expected(width, text, caption);
    int mismatches = -1;
    const bool shown = WaitUntil(
        [&] {
            if (WindowBox(main) != PopupAtRest(width) || !PopupOnTop(main, width)) {
                return false;
            }
            const ScreenCapture capture(PopupOnScreen(width));
            if (!PopupOnTop(main, width)) {
                return false;
            }
            mismatches = expected.Mismatches(capture);
            return mismatches == 0 && capture.At(kRestX, kRestY) == kBorder &&
                   capture.At(kRestX + width - 1, kRestY + kHeight - 1) == kBorder;
        },
        5000, 50);
    if (shown) {
        return testing::AssertionSuccess();
    }
    SaveScreenshot(artifact, RECT{0, 0, kRestX + width + 16, kRestY + kHeight + 16});
    return testing::AssertionFailure()
           << "the pop-up (" << WindowBox(main) << ") does not show \"" << text
           << "\" with caption " << (caption ? caption : "(none)") << ": " << mismatches
           << " pixels differ (-1: never on top at rest); see " << artifact << ".png";
}

// Text-coloured pixels of the caption rectangle, and the rightmost column
// that holds one (or -1), in client coordinates.
struct CaptionInk {
    int pixels = 0;
    int rightmost = -1;
};

CaptionInk ReadCaptionInk(int width) {
    const RECT caption{kRestX + width - 84, kRestY + 44, kRestX + width - 25, kRestY + 60};
    const ScreenCapture capture(caption);
    CaptionInk ink;
    for (int y = caption.top; y < caption.bottom; ++y) {
        for (int x = caption.left; x < caption.right; ++x) {
            if (capture.At(x, y) == kText) {
                ++ink.pixels;
                ink.rightmost = std::max(ink.rightmost, x - kRestX);
            }
        }
    }
    return ink;
}

// Long enough for at least two polls (300 ms apart) to see a change.
constexpr DWORD kTwoPolls = 800;

} // namespace

// ---------------------------------------------------------------------------

TEST(Popup, GrowsInRestsSwitchesAndCollapses) {
    Session session;
    ASSERT_NE(session.main, nullptr);
    HWND main = session.main;
    GeometryTrace trace(main);

    // The idle player shows nothing.
    FakeWinamp winamp("Winamp 5.9");
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{(Box{0, 0, 0, 0})}) << Describe(trace.Boxes());

    // A playing title, although its song names the player, grows in with
    // its three lines.
    const std::string first = "Band\nWinamp Blues\nWinamp";
    const int w1 = PopupWidth(first);
    winamp.SetTitle("7. Band - Winamp Blues - Winamp");
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w1); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(GrewIn(trace.Boxes(), w1));
    EXPECT_TRUE(ShowsFace(main, w1, first, nullptr, "popup-first-title"));

    // Clicks beside the buttons do nothing, and the pop-up stays.
    const POINT beside[] = {TextArea(),    {w1 - 7, 33},  {w1 - 14, 24}, {w1 - 14, 41},
                            {w1 - 21, 33}, {w1 - 50, 52}, {w1 - 14, 3}};
    for (const POINT& point : beside) {
        PostClick(main, point);
    }
    trace.Clear();
    trace.RecordFor(kTwoPolls);
    EXPECT_TRUE(winamp.CommandIds().empty());
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{PopupAtRest(w1)}) << Describe(trace.Boxes());

    // A new title while it is up: it shrinks into its right edge and grows in
    // again, wider, with the new text.
    const std::string second = "A Much Longer Artist Name For A Wider Pop-up\n"
                               "And A Title Long Enough To Need Another Tile Or Two\nWinamp";
    const int w2 = PopupWidth(second);
    ASSERT_GT(w2, w1);
    trace.Clear();
    winamp.SetTitle("12. A Much Longer Artist Name For A Wider Pop-up - "
                    "And A Title Long Enough To Need Another Tile Or Two - Winamp");
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w2); }, kGenerousMs))
        << Describe(trace.Boxes());
    const std::vector<Box>& boxes = trace.Boxes();
    size_t shrinkEnd = 0;
    while (shrinkEnd < boxes.size() && boxes[shrinkEnd].Right() == kRestX + w1 &&
           boxes[shrinkEnd].x >= kRestX) {
        ++shrinkEnd;
    }
    const std::vector<Box> shrink(boxes.begin(), boxes.begin() + static_cast<long>(shrinkEnd));
    const std::vector<Box> growth(boxes.begin() + static_cast<long>(shrinkEnd), boxes.end());
    EXPECT_TRUE(ShrankIntoRightEdge(shrink, w1));
    EXPECT_TRUE(GrewIn(growth, w2));
    EXPECT_TRUE(ShowsFace(main, w2, second, nullptr, "popup-second-title"));

    // It rests for five seconds (a lower bound: a slow machine only makes it
    // longer), then collapses to a sliver at the screen's corner.
    const ULONGLONG restSeen = GetTickCount64();
    trace.Clear();
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b != PopupAtRest(w2); }, kGenerousMs));
    EXPECT_GE(GetTickCount64() - restSeen, 4000u) << "it did not stay up for five seconds";
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == Sliver(w2); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(Collapsed(trace.Boxes(), w2));

    // And there it stays.
    trace.Clear();
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{Sliver(w2)}) << Describe(trace.Boxes());

    ExitCleanly(*session.program);
}

TEST(Popup, AButtonUnderTheCursorKeepsItUpShowsItsCaptionAndTakesClicks) {
    Session session;
    ASSERT_NE(session.main, nullptr);
    HWND main = session.main;
    const std::string text = "Artist\nSong\nWinamp";
    const int w = PopupWidth(text);

    FakeWinamp winamp("3. Artist - Song - Winamp");
    ASSERT_TRUE(WaitUntil([&] { return WindowBox(main) == PopupAtRest(w); })) << WindowBox(main);
    const ULONGLONG restSeen = GetTickCount64();
    EXPECT_TRUE(ShowsFace(main, w, text, nullptr, "popup-no-caption"));

    // Each button shows its caption right-aligned just left of the Lyrics
    // button; off the buttons the caption goes, though the cursor left the
    // window without any mouse message reaching it.
    SetCursorPos(OnScreen(NextButton(w)).x, OnScreen(NextButton(w)).y);
    EXPECT_TRUE(ShowsFace(main, w, text, "Next", "popup-caption-next"));
    const CaptionInk next = ReadCaptionInk(w);
    EXPECT_GT(next.pixels, 0);
    EXPECT_LT(next.rightmost, w - 25);
    EXPECT_GE(next.rightmost, w - 25 - 4) << "the caption is not right-aligned against W - 25";

    SetCursorPos(OnScreen(PreviousButton(w)).x, OnScreen(PreviousButton(w)).y);
    EXPECT_TRUE(ShowsFace(main, w, text, "Previous", "popup-caption-previous"));

    ParkCursor();
    EXPECT_TRUE(ShowsFace(main, w, text, nullptr, "popup-caption-gone"));
    EXPECT_EQ(ReadCaptionInk(w).pixels, 0);

    // With the cursor resting on Next it stays up well past five seconds.
    SetCursorPos(OnScreen(NextButton(w)).x, OnScreen(NextButton(w)).y);
    GeometryTrace trace(main);
    trace.RecordFor(kTwoPolls);
    trace.RecordUntil([&](const Box&) { return GetTickCount64() > restSeen + 7500; }, kGenerousMs);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{PopupAtRest(w)}) << Describe(trace.Boxes());

    // A real click on Next, and posted clicks on the buttons' edges, reach
    // the player; none of them hides the pop-up.
    ASSERT_TRUE(WaitUntil([&] { return PopupOnTop(main, w); }));
    ClickLeftButton();
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds().size() == 1; }))
        << "the click on Next reached no player";
    PostClick(main, POINT{w - 20, 6}); // Previous, top-left pixel
    PostClick(main, POINT{w - 8, 40}); // Next, bottom-right pixel
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds().size() == 3; }));
    EXPECT_EQ(winamp.CommandIds(),
              (std::vector<WPARAM>{kWinampNext, kWinampPrevious, kWinampNext}));
    for (const ReceivedCommand& command : winamp.Commands()) {
        EXPECT_EQ(command.lParam, 0);
    }
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{PopupAtRest(w)}) << Describe(trace.Boxes());

    // Off the buttons, over the text, it goes at once.
    SetCursorPos(OnScreen(TextArea()).x, OnScreen(TextArea()).y);
    EXPECT_TRUE(trace.RecordUntil(IsSliver, kGenerousMs)) << Describe(trace.Boxes());
    ParkCursor();

    ExitCleanly(*session.program);
}

TEST(Popup, TheToggleCommandShowsAndHidesAndWaitsForMovesToEnd) {
    Session session;
    ASSERT_NE(session.main, nullptr);
    HWND main = session.main;
    FakeWinamp winamp("Winamp 5.9");
    GeometryTrace trace(main);

    // Before any track: an empty pop-up of seven tiles, whose Previous and
    // Next send nothing.
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b == PopupAtRest(317); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(GrewIn(trace.Boxes(), 317));
    EXPECT_TRUE(ShowsFace(main, 317, "", nullptr, "popup-empty"));
    PostClick(main, PreviousButton(317));
    PostClick(main, NextButton(317));
    PumpFor(kTwoPolls);
    EXPECT_TRUE(winamp.CommandIds().empty());

    // The cursor on Next keeps the pop-up up, so from here on only the
    // toggle can hide it. Up: it hides at once.
    SetCursorPos(OnScreen(NextButton(317)).x, OnScreen(NextButton(317)).y);
    trace.Clear();
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil(IsSliver, kGenerousMs)) << Describe(trace.Boxes());
    EXPECT_TRUE(Collapsed(trace.Boxes(), 317));
    ParkCursor();

    // A track, then the toggle while it grows in: ignored.
    const std::string text = "Someone\nSomething\nWinamp";
    const int w = PopupWidth(text);
    trace.Clear();
    winamp.SetTitle("5. Someone - Something - Winamp");
    ASSERT_TRUE(
        trace.RecordUntil([](const Box& b) { return b.y == kRestY && b.x >= 2; }, kGenerousMs));
    ASSERT_LT(trace.Last().x, kRestX) << "the grow-in was over before the driver saw it";
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w); }, kGenerousMs));
    SetCursorPos(OnScreen(NextButton(w)).x, OnScreen(NextButton(w)).y);
    trace.Clear();
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{PopupAtRest(w)}) << Describe(trace.Boxes());

    // The toggle hides it; a second one while it collapses is ignored.
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b.height < kHeight; }, kGenerousMs));
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil(IsSliver, kGenerousMs)) << Describe(trace.Boxes());
    trace.Clear();
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{Sliver(w)}) << Describe(trace.Boxes());

    // Hidden, it shows the last track again, whose buttons now work.
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(GrewIn(trace.Boxes(), w));
    ParkCursor();
    EXPECT_TRUE(ShowsFace(main, w, text, nullptr, "popup-on-demand"));
    PostClick(main, NextButton(w));
    EXPECT_TRUE(WaitUntil([&] { return winamp.CommandIds() == std::vector<WPARAM>{kWinampNext}; }));

    ExitCleanly(*session.program);
}

TEST(Popup, ExitInTheMiddleOfAMoveEndsTheProgramCleanly) {
    enum class During { Show, Switch, Hide };
    const During moves[] = {During::Show,   During::Switch, During::Hide,  During::Show,
                            During::Switch, During::Show,   During::Switch};
    int round = 0;
    for (During move : moves) {
        ++round;
        SCOPED_TRACE("round " + std::to_string(round));
        Session session;
        ASSERT_NE(session.main, nullptr);
        HWND main = session.main;
        const int w = PopupWidth("First " + std::to_string(round) + "\nSong\nWinamp");
        FakeWinamp winamp(std::to_string(round) + ". First " + std::to_string(round) +
                          " - Song - Winamp");
        GeometryTrace trace(main);
        std::function<bool(const Box&)> moving;
        switch (move) {
        case During::Show:
            moving = [](const Box& b) { return b.y == kRestY && b.x >= 0 && b.x < kRestX / 2; };
            break;
        case During::Switch:
            ASSERT_TRUE(
                trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w); }, kGenerousMs));
            winamp.SetTitle("99. Second - Song - Winamp");
            moving = [&](const Box& b) { return b != PopupAtRest(w); };
            break;
        case During::Hide:
            ASSERT_TRUE(
                trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w); }, kGenerousMs));
            session.program->PostCommand(kCommandToggle);
            moving = [&](const Box& b) { return b != PopupAtRest(w); };
            break;
        }
        ASSERT_TRUE(trace.RecordUntil(moving, kGenerousMs)) << Describe(trace.Boxes());
        ExitCleanly(*session.program);
        EXPECT_FALSE(IsWindow(main));
    }
}

TEST(Popup, TitlesChangingFasterThanThePollEndWithTheLastOneShown) {
    Session session;
    ASSERT_NE(session.main, nullptr);
    HWND main = session.main;
    FakeWinamp winamp("Winamp 5.9");

    // Short titles every 50 ms for three seconds, then one much longer title,
    // whose pop-up is wider than all the others.
    const ULONGLONG end = GetTickCount64() + 3000;
    for (int i = 1; GetTickCount64() < end; ++i) {
        winamp.SetTitle(std::to_string(i) + ". Artist " + std::to_string(i) + " - Song - Winamp");
        PumpFor(50);
    }
    const std::string last = "The Very Last Artist Of This Rather Long Evening\n"
                             "And Their Final Song With An Even Longer Name\nWinamp";
    const int w = PopupWidth(last);
    ASSERT_GT(w, 317);
    winamp.SetTitle("1000. The Very Last Artist Of This Rather Long Evening - "
                    "And Their Final Song With An Even Longer Name - Winamp");

    ASSERT_TRUE(WaitUntil([&] { return WindowBox(main) == PopupAtRest(w); })) << WindowBox(main);
    GeometryTrace trace(main);
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{PopupAtRest(w)}) << Describe(trace.Boxes());
    EXPECT_TRUE(ShowsFace(main, w, last, nullptr, "popup-last-of-many"));

    ExitCleanly(*session.program);
}
