// The now-playing pop-up of the running program, watched from outside while a
// fake Winamp changes its title: how it grows in, rests, switches to a new
// track and collapses; what it shows; the buttons under the cursor, their
// captions and clicks; the hold; the on-demand toggle; a burst of titles; Exit
// in the middle of a move.
//
// Geometry comes from GetWindowRect traces; the face of the pop-up is read
// from the screen and compared, pixel for pixel, with the same text drawn
// here on a flat test skin. Polls and hide ticks are delivered by the driver
// where a test needs to know that the program has looked.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/PopupFace.h"
#include "support/PopupPlace.h"
#include "support/Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr int kRestX = kPopupAtRest.x;
constexpr int kRestY = kPopupAtRest.y;
constexpr int kHeight = kPopupAtRest.height;

const std::string kWatchWinamp = "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n\r\n";

// A session in the flat skin, watching Winamp.
struct FlatSession : Session {
    FlatSession() : Session(kWatchWinamp, InstallFlatSkin) {}

    testing::AssertionResult Shows(const std::string& text, const char* caption,
                                   const std::string& artifact) {
        const PopupFace face(Install(), FlatLook(), RestingWidth(text), text, caption);
        return ShowsFace(Main(), face, artifact);
    }
};

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

void PutCursorAt(POINT client) {
    SetCursorPos(kRestX + client.x, kRestY + client.y);
}

// ---------------------------------------------------------------------------
// Shapes of the animations

// The grow-in: the left edge goes from 0 to 64 while the width goes from 0 to
// W, in proportion, at y = 32; it starts near nothing and ends at rest.
testing::AssertionResult GrewIn(const std::vector<Box>& all, int width) {
    std::vector<Box> boxes;
    for (const Box& b : all) {
        if (!boxes.empty() || (b.x >= 0 && b.y == kRestY)) {
            boxes.push_back(b);
        }
    }
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

// Sends the toggle while a move runs and proves it was ignored: the move
// ends at `end`. A toggle that lands after the move (a busy machine) reverses
// it; that round does not count, and the next toggle starts the move over.
testing::AssertionResult ToggleIgnoredDuring(FlatSession& session, GeometryTrace& trace,
                                             const std::function<bool(const Box&)>& moving,
                                             const std::function<bool(const Box&)>& end) {
    for (int round = 0; round < 5; ++round) {
        if (!trace.RecordUntil(moving, kGenerousMs)) {
            return testing::AssertionFailure() << "the move was not seen\n"
                                               << Describe(trace.Boxes());
        }
        session.Program().SendCommand(kCommandToggle);
        if (moving(WindowBox(session.Main()))) { // it landed during the move
            if (trace.RecordUntil(end, kGenerousMs) && session.WaitUntilStill() &&
                end(WindowBox(session.Main()))) {
                return testing::AssertionSuccess();
            }
            return testing::AssertionFailure() << "a toggle during the move changed its end\n"
                                               << Describe(trace.Boxes());
        }
        if (!session.WaitUntilStill()) {
            return testing::AssertionFailure() << "the pop-up did not come to rest";
        }
        trace.Sample();
        if (end(trace.Last())) {
            return testing::AssertionSuccess();
        }
        trace.Clear();
        session.Program().SendCommand(kCommandToggle);
    }
    return testing::AssertionFailure() << "the move ended before the toggle five times";
}

} // namespace

// ---------------------------------------------------------------------------

TEST(Popup, GrowsInSwitchesHoldsForItsButtonsAndCollapses) {
    FlatSession session;
    RunningProgram& program = session.Program();
    HWND main = session.Main();
    GeometryTrace trace(main);

    // The idle player shows nothing.
    FakeWinamp winamp("Winamp 5.9");
    EXPECT_TRUE(session.PollShowsNothing());

    // A playing title, although its song names the player, grows in with
    // its three lines.
    const std::string first = "Band\nWinamp Blues\nWinamp";
    const int w1 = RestingWidth(first);
    winamp.SetTitle("7. Band - Winamp Blues - Winamp");
    ASSERT_TRUE(program.TickPoll());
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w1); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(GrewIn(trace.Boxes(), w1));
    EXPECT_TRUE(session.Shows(first, nullptr, "popup-first-title"));

    // Clicks beside the buttons send nothing.
    const POINT beside[] = {TextArea(),    {w1 - 7, 33},  {w1 - 14, 24}, {w1 - 14, 41},
                            {w1 - 21, 33}, {w1 - 50, 52}, {w1 - 14, 3}};
    for (const POINT& point : beside) {
        SendClick(main, point);
    }
    EXPECT_TRUE(winamp.CommandIds().empty());

    // A new title while it is up: it shrinks into its right edge and grows in
    // again, wider, with the new text.
    const std::string second = "A Much Longer Artist Name For A Wider Pop-up\n"
                               "And A Title Long Enough To Need Another Tile Or Two\nWinamp";
    const int w2 = RestingWidth(second);
    ASSERT_GT(w2, w1);
    ASSERT_TRUE(session.WaitUntilStill());
    trace.Clear();
    winamp.SetTitle("12. A Much Longer Artist Name For A Wider Pop-up - "
                    "And A Title Long Enough To Need Another Tile Or Two - Winamp");
    ASSERT_TRUE(program.TickPoll());
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w2); }, kGenerousMs))
        << Describe(trace.Boxes());
    const ULONGLONG restSeen = GetTickCount64();
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

    // Just shown, its hold has begun: a hide tick starts nothing.
    ASSERT_TRUE(session.WaitUntilStill());
    ASSERT_TRUE(program.TickHideTimer());
    EXPECT_EQ(program.AnimationThreads(), 0) << "it hid at once";
    EXPECT_TRUE(session.Shows(second, nullptr, "popup-second-title"));

    // Each button shows its caption right-aligned just left of the Lyrics
    // button; off the buttons the caption goes, though the cursor left the
    // window without any mouse message reaching it (the poll looks).
    PutCursorAt(NextButton(w2));
    ASSERT_TRUE(program.TickPoll());
    EXPECT_TRUE(session.Shows(second, "Next", "popup-caption-next"));
    PutCursorAt(PreviousButton(w2));
    ASSERT_TRUE(program.TickPoll());
    EXPECT_TRUE(session.Shows(second, "Previous", "popup-caption-previous"));
    ParkCursor();
    ASSERT_TRUE(program.TickPoll());
    EXPECT_TRUE(session.Shows(second, nullptr, "popup-caption-gone"));

    // A real click on Next, and clicks on the buttons' edges, reach the
    // player, each with its command once.
    PutCursorAt(NextButton(w2));
    ClickLeftButton();
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds().size() == 1; }))
        << "the click on Next reached no player";
    SendClick(main, POINT{w2 - 20, 6}); // Previous, top-left pixel
    SendClick(main, POINT{w2 - 8, 40}); // Next, bottom-right pixel
    EXPECT_EQ(winamp.CommandIds(),
              (std::vector<WPARAM>{kWinampNext, kWinampPrevious, kWinampNext}));
    for (const ReceivedCommand& command : winamp.Commands()) {
        EXPECT_EQ(command.lParam, 0);
    }

    // Well past its five seconds, the cursor on Next keeps it up; off the
    // buttons, over the text, the next hide tick collapses it. (The hide
    // starting at once shows that the hold was over.)
    WaitUntil([&] { return GetTickCount64() > restSeen + 6000; }, kGenerousMs, 50);
    ASSERT_TRUE(program.TickHideTimer());
    EXPECT_EQ(program.AnimationThreads(), 0) << "it hid under the cursor";
    EXPECT_EQ(WindowBox(main), PopupAtRest(w2));
    PutCursorAt(TextArea());
    trace.Clear();
    trace.Sample();
    ASSERT_TRUE(program.TickHideTimer());
    EXPECT_EQ(program.AnimationThreads(), 1) << "the hide did not start at the tick";
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == Sliver(w2); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(Collapsed(trace.Boxes(), w2));
    ParkCursor();

    // And there it stays.
    ASSERT_TRUE(session.WaitUntilStill());
    EXPECT_TRUE(session.PollShowsNothing());
}

TEST(Popup, TheToggleCommandShowsAndHidesAndWaitsForMovesToEnd) {
    FlatSession session;
    RunningProgram& program = session.Program();
    HWND main = session.Main();
    FakeWinamp winamp("Winamp 5.9");
    GeometryTrace trace(main);

    // Before any track: an empty pop-up of seven tiles, whose Previous and
    // Next send nothing.
    program.SendCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b == PopupAtRest(317); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(GrewIn(trace.Boxes(), 317));
    EXPECT_TRUE(session.Shows("", nullptr, "popup-empty"));
    SendClick(main, PreviousButton(317));
    SendClick(main, NextButton(317));
    EXPECT_TRUE(winamp.CommandIds().empty());

    // The cursor on Next keeps the pop-up up, so from here on only the
    // toggle can hide it. Up: it hides at once.
    PutCursorAt(NextButton(317));
    ASSERT_TRUE(session.WaitUntilStill());
    trace.Clear();
    program.SendCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil(IsSliver, kGenerousMs)) << Describe(trace.Boxes());
    EXPECT_TRUE(Collapsed(trace.Boxes(), 317));
    ParkCursor();

    // A track, then the toggle while it grows in: ignored, the grow-in goes
    // on. The cursor on Next keeps the pop-up up from here on.
    const std::string text = "Someone\nSomething\nWinamp";
    const int w = RestingWidth(text);
    ASSERT_TRUE(session.WaitUntilStill());
    PutCursorAt(NextButton(w));
    trace.Clear();
    winamp.SetTitle("5. Someone - Something - Winamp");
    ASSERT_TRUE(program.TickPoll());
    const auto growing = [](const Box& b) {
        return b.y == kRestY && b.height == kHeight && b.x >= 0 && b.x < kRestX;
    };
    EXPECT_TRUE(ToggleIgnoredDuring(session, trace, growing,
                                    [&](const Box& b) { return b == PopupAtRest(w); }));
    EXPECT_TRUE(GrewIn(trace.Boxes(), w));

    // The toggle hides it; a second one while it collapses is ignored.
    trace.Clear();
    program.SendCommand(kCommandToggle);
    const auto collapsing = [&](const Box& b) { return b.height < kHeight && b != Sliver(w); };
    EXPECT_TRUE(ToggleIgnoredDuring(session, trace, collapsing,
                                    [&](const Box& b) { return b == Sliver(w); }));

    // Hidden, it shows the last track again, whose buttons now work.
    trace.Clear();
    program.SendCommand(kCommandToggle);
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w); }, kGenerousMs))
        << Describe(trace.Boxes());
    EXPECT_TRUE(GrewIn(trace.Boxes(), w));
    ParkCursor();
    ASSERT_TRUE(program.TickPoll());
    EXPECT_TRUE(session.Shows(text, nullptr, "popup-on-demand"));
    SendClick(main, NextButton(w));
    EXPECT_EQ(winamp.CommandIds(), std::vector<WPARAM>{kWinampNext});
}

TEST(Popup, TitlesChangingAtEveryPollEndWithTheLastOneShown) {
    FlatSession session;
    FakeWinamp winamp("Winamp 5.9");

    // Each tick sees the next title, of another width: every layout starts a
    // switch that takes over from the one before.
    for (int i = 1; i <= 100; ++i) {
        winamp.SetTitle(std::to_string(i) + ". Artist " + std::to_string(i) + " - " +
                        std::string(static_cast<size_t>(i % 50), '~') + " - Winamp");
        ASSERT_TRUE(session.Program().TickPoll());
    }
    const std::string last = "The Very Last Artist Of This Rather Long Evening\n"
                             "And Their Final Song With An Even Longer Name\nWinamp";
    ASSERT_GT(RestingWidth(last), 317);
    winamp.SetTitle("1000. The Very Last Artist Of This Rather Long Evening - "
                    "And Their Final Song With An Even Longer Name - Winamp");
    ASSERT_TRUE(session.Program().TickPoll());
    EXPECT_TRUE(session.Shows(last, nullptr, "popup-last-of-many"));
    ASSERT_TRUE(session.WaitUntilStill());
    EXPECT_TRUE(session.PollShowsNothing());
}

// Exit stops a running move where it is: the window goes before the move's
// end. An Exit that lands after the end (a busy machine) is tried again.
TEST(Popup, ExitInTheMiddleOfEachMoveStopsItAndEndsTheProgramCleanly) {
    enum class During { Show, Switch, Hide };
    const int w = RestingWidth("First\nSong\nWinamp");
    const int w2 = RestingWidth("Second\nSong\nWinamp");
    for (During move : {During::Show, During::Switch, During::Hide}) {
        SCOPED_TRACE("round " + std::to_string(static_cast<int>(move)));
        bool stopped = false;
        for (int attempt = 0; attempt < 3 && !stopped; ++attempt) {
            FlatSession session;
            HWND main = session.Main();
            FakeWinamp winamp("1. First - Song - Winamp");
            GeometryTrace trace(main);
            ASSERT_TRUE(session.Program().TickPoll());
            std::function<bool(const Box&)> moving;
            Box end = PopupAtRest(w);
            switch (move) {
            case During::Show:
                moving = [](const Box& b) { return b.y == kRestY && b.x > 0 && b.x < kRestX / 2; };
                break;
            case During::Switch:
                ASSERT_TRUE(session.WaitForRest(w));
                winamp.SetTitle("99. Second - Song - Winamp");
                ASSERT_TRUE(session.Program().TickPoll());
                moving = [&](const Box& b) { return b != PopupAtRest(w); };
                end = PopupAtRest(w2);
                break;
            case During::Hide:
                ASSERT_TRUE(session.WaitForRest(w));
                ASSERT_TRUE(session.WaitUntilStill());
                session.Program().SendCommand(kCommandToggle);
                moving = [&](const Box& b) { return b.height < kHeight && b.height > 6; };
                end = Sliver(w);
                break;
            }
            ASSERT_TRUE(trace.RecordUntil(moving, kGenerousMs)) << Describe(trace.Boxes());
            trace.Clear();
            session.Program().PostCommand(kCommandExit);
            ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b == Box{}; }, kGenerousMs))
                << "the window did not go";
            const std::vector<Box>& boxes = trace.Boxes();
            stopped = std::find(boxes.begin(), boxes.end(), end) == boxes.end();
            session.Exit();
        }
        EXPECT_TRUE(stopped) << "each time the move ran to its end before the window went";
    }
}
