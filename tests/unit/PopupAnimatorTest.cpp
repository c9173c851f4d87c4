#include "core/PopupAnimator.h"

#include "FakePopupWindow.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Events = std::vector<std::string>;

Events Join(std::initializer_list<Events> parts) {
    Events all;
    for (const Events& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Events Moves(const std::vector<WindowStep>& steps) {
    Events events;
    for (const WindowStep& step : steps)
        events.push_back(FakePopupWindow::StepText("move", step));
    return events;
}

Events ShowEvents(int width) {
    return Join({{FakePopupWindow::StepText("top", ShowStartStep(width))},
                 Moves(ShowSteps(width)),
                 {"timer+"}});
}

Events HideEvents(int width) {
    return Join({Moves(HideSteps(width)), {"origin"}});
}

Events SwitchEvents(const Rect& from) {
    return Join({{"timer-"}, Moves(SwitchSteps(from))});
}

Events Head(const Events& events, size_t count) {
    return Events(events.begin(), events.begin() + count);
}

Rect RectOf(const WindowStep& step) {
    return {step.x, step.y, step.x + step.cx, step.y + step.cy};
}

Rect RestingRect(int width) {
    return {64, 32, 64 + width, 98};
}

size_t Count(const Events& events, const std::string& event) {
    return static_cast<size_t>(std::count(events.begin(), events.end(), event));
}

class PopupAnimatorTest : public ::testing::Test {
  protected:
    // Shows the pop-up and waits until it is up and still.
    bool BringUp(int width) {
        animator.SetPopupGeometry({width, 96});
        return animator.StartAnimation(AnimationRoutine::Show) && window.WaitQuiet() &&
               animator.State() == ANIM_IDLE && animator.IsShown();
    }
    void ExpectUp(int width) {
        EXPECT_EQ(animator.State(), ANIM_IDLE);
        EXPECT_TRUE(animator.IsShown());
        EXPECT_EQ(window.CurrentRect(), RestingRect(width));
    }

    FakePopupWindow window; // outlives the animator
    CPopupAnimator animator{window};
};

TEST_F(PopupAnimatorTest, ShowGrowsInAndStartsTheHoldAtItsEnd) {
    window.SetClock(1000);
    animator.SetPopupGeometry({362, 96});
    window.HoldAfterMoves(277); // the last step
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Show));
    EXPECT_EQ(animator.State(), ANIM_SHOWING);
    EXPECT_TRUE(animator.IsShown());
    ASSERT_TRUE(window.WaitHeld());
    window.SetClock(2500);
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());

    EXPECT_EQ(window.Events(), ShowEvents(362));
    ExpectUp(362);
    EXPECT_EQ(animator.ShowTime(), 2500);
}

TEST_F(PopupAnimatorTest, HideIsDueAfterTheHoldUnlessAButtonIsHovered) {
    window.SetClock(1000);
    ASSERT_TRUE(BringUp(362));
    EXPECT_FALSE(animator.HideDue(5999, false));
    EXPECT_TRUE(animator.HideDue(6000, false));
    EXPECT_FALSE(animator.HideDue(6000, true));

    const size_t mark = window.EventCount();
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Hide));
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.EventsSince(mark), HideEvents(362));
    EXPECT_EQ(animator.State(), ANIM_IDLE);
    EXPECT_FALSE(animator.IsShown());
    EXPECT_EQ(window.CurrentRect(), (Rect{0, 0, 0, 6}));
    EXPECT_FALSE(animator.HideDue(60000, false));
}

TEST_F(PopupAnimatorTest, HideDueCountsIn64Bits) {
    window.SetClock(3'000'000'000);
    ASSERT_TRUE(BringUp(317));
    EXPECT_FALSE(animator.HideDue(3'000'004'999, false));
    EXPECT_TRUE(animator.HideDue(3'000'005'000, false));
    EXPECT_FALSE(animator.HideDue(2'999'000'000, false)); // a clock before the show
}

TEST_F(PopupAnimatorTest, HideOnlyStartsWhenUpAndStill) {
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Hide)); // hidden
    EXPECT_EQ(window.EventCount(), 0u);

    animator.SetPopupGeometry({317, 96});
    window.HoldAfterMoves(10);
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Show));
    ASSERT_TRUE(window.WaitHeld());
    EXPECT_FALSE(animator.HideDue(1'000'000, false));
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Hide)); // still showing
    EXPECT_EQ(animator.State(), ANIM_SHOWING);
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.Events(), ShowEvents(317));
}

TEST_F(PopupAnimatorTest, SwitchFromUpShrinksThenShowsTheNewWidth) {
    ASSERT_TRUE(BringUp(317));
    const size_t mark = window.EventCount();
    animator.SetPopupGeometry({407, 96});
    window.HoldAfterMoves(1);
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    EXPECT_EQ(animator.State(), ANIM_SWITCHING); // at once
    ASSERT_TRUE(window.WaitHeld());
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.EventsSince(mark), Join({SwitchEvents(RestingRect(317)), ShowEvents(407)}));
    ExpectUp(407);
}

TEST_F(PopupAnimatorTest, SwitchDuringShowTakesOverWhereTheShowIs) {
    animator.SetPopupGeometry({317, 96});
    window.HoldAfterMoves(100); // the start and 99 steps
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Show));
    ASSERT_TRUE(window.WaitHeld());
    animator.SetPopupGeometry({452, 96});
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    EXPECT_EQ(animator.State(), ANIM_SWITCHING);
    EXPECT_TRUE(animator.IsShown());
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());

    // The superseded show neither moves again nor starts the hide timer.
    EXPECT_EQ(window.Events(), Join({Head(ShowEvents(317), 100),
                                     SwitchEvents(RectOf(ShowSteps(317)[98])), ShowEvents(452)}));
    ExpectUp(452);
}

TEST_F(PopupAnimatorTest, SwitchDuringHideKeepsThePopupShown) {
    ASSERT_TRUE(BringUp(362));
    const size_t mark = window.EventCount();
    window.HoldAfterMoves(10);
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Hide));
    ASSERT_TRUE(window.WaitHeld());
    std::atomic<bool> alwaysShown{true};
    window.SetProbe([&] { alwaysShown = alwaysShown && animator.IsShown(); });
    animator.SetPopupGeometry({317, 96});
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());

    // No move to the corner, and the flag never dropped.
    EXPECT_EQ(window.EventsSince(mark),
              Join({Head(HideEvents(362), 10), SwitchEvents(RectOf(HideSteps(362)[9])),
                    ShowEvents(317)}));
    EXPECT_TRUE(alwaysShown);
    ExpectUp(317);
}

TEST_F(PopupAnimatorTest, BurstOfSwitchesEndsInOneShowOfTheLatestWidth) {
    ASSERT_TRUE(BringUp(317));
    const size_t mark = window.EventCount();
    window.HoldAfterMoves(1);
    animator.SetPopupGeometry({362, 96});
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    ASSERT_TRUE(window.WaitHeld()); // the first switch has the window
    int width = 362;
    for (int i = 1; i < 20; ++i) {
        width = 317 + 45 * (i % 6);
        animator.SetPopupGeometry({width, 96});
        ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
        EXPECT_EQ(animator.State(), ANIM_SWITCHING);
    }
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());

    const Events firstSwitch = Head(SwitchEvents(RestingRect(317)), 2);
    EXPECT_EQ(window.EventsSince(mark),
              Join({firstSwitch, SwitchEvents(RestingRect(317)), ShowEvents(width)}));
    ExpectUp(width);
}

TEST_F(PopupAnimatorTest, BurstOfSwitchesWithoutHoldsStillEndsInOneShow) {
    window.PauseSleeps(true);
    ASSERT_TRUE(BringUp(317));
    const size_t mark = window.EventCount();
    int width = 317;
    for (int i = 0; i < 20; ++i) {
        width = 317 + 45 * (i % 7);
        animator.SetPopupGeometry({width, 96});
        ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    }
    ASSERT_TRUE(window.WaitQuiet());
    const Events events = window.EventsSince(mark);
    EXPECT_EQ(Count(events, "timer+"), 1u);
    const Events show = ShowEvents(width);
    ASSERT_GE(events.size(), show.size());
    EXPECT_EQ(Events(events.end() - show.size(), events.end()), show);
    EXPECT_TRUE(window.MovesWereSerialised());
    ExpectUp(width);
}

TEST_F(PopupAnimatorTest, ShowRequestedAsASwitchEndsBecomesASwitch) {
    ASSERT_TRUE(BringUp(317));
    const size_t mark = window.EventCount();
    animator.SetPopupGeometry({362, 96});
    window.HoldAfterMoves(52); // 51 switch steps, then the start of its show
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    ASSERT_TRUE(window.WaitHeld());
    EXPECT_EQ(animator.State(), ANIM_SHOWING);
    EXPECT_TRUE(animator.IsShown());

    // The poll saw the pop-up hidden a moment ago and asks for a show.
    animator.SetPopupGeometry({407, 96});
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Show));
    EXPECT_EQ(animator.State(), ANIM_SWITCHING);
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());

    EXPECT_EQ(window.EventsSince(mark),
              Join({SwitchEvents(RestingRect(317)), Head(ShowEvents(362), 1),
                    SwitchEvents(RectOf(ShowStartStep(362))), ShowEvents(407)}));
    ExpectUp(407);
}

TEST_F(PopupAnimatorTest, ShowWhileUpBringsTheNewTextInBySwitching) {
    ASSERT_TRUE(BringUp(317));
    const size_t mark = window.EventCount();
    animator.SetPopupGeometry({362, 96});
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Show));
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.EventsSince(mark), Join({SwitchEvents(RestingRect(317)), ShowEvents(362)}));
    ExpectUp(362);
}

TEST_F(PopupAnimatorTest, FailedLaunchesChangeNothing) {
    window.FailLaunches(true);
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Show));
    EXPECT_EQ(animator.State(), ANIM_IDLE);
    EXPECT_FALSE(animator.IsShown());

    window.FailLaunches(false);
    window.SetClock(1000);
    ASSERT_TRUE(BringUp(317));
    const size_t mark = window.EventCount();
    window.FailLaunches(true);
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Switch));
    EXPECT_EQ(animator.State(), ANIM_IDLE); // not stuck switching
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Hide));
    EXPECT_TRUE(animator.IsShown());
    EXPECT_TRUE(animator.HideDue(6000, false)); // the next tick tries again
    EXPECT_EQ(window.EventCount(), mark);

    window.FailLaunches(false);
    animator.SetPopupGeometry({362, 96});
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    ASSERT_TRUE(window.WaitQuiet());
    ExpectUp(362);
}

TEST_F(PopupAnimatorTest, FailedSwitchLaunchLetsTheRunningShowFinish) {
    animator.SetPopupGeometry({317, 96});
    window.HoldAfterMoves(50);
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Show));
    ASSERT_TRUE(window.WaitHeld());
    window.FailLaunches(true);
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Switch));
    EXPECT_EQ(animator.State(), ANIM_SHOWING);
    window.Release();
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.Events(), ShowEvents(317));
    ExpectUp(317);
}

// Stopping in the middle of each animation, with the worker blocked in a move
// that only the UI thread's message pump lets finish.
class StopAndJoinTest : public PopupAnimatorTest,
                        public ::testing::WithParamInterface<AnimationRoutine> {};

TEST_P(StopAndJoinTest, EndsEveryThreadAndNothingMovesAfterwards) {
    if (GetParam() != AnimationRoutine::Show) {
        ASSERT_TRUE(BringUp(317));
    }
    window.HoldAfterMoves(10);
    ASSERT_TRUE(animator.StartAnimation(GetParam()));
    ASSERT_TRUE(window.WaitHeld());
    // Queue more requests behind the blocked one.
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));

    const size_t mark = window.EventCount();
    int pumps = 0;
    animator.StopAndJoin([&] {
        ++pumps;
        window.Release();
    });
    window.Close();
    EXPECT_GE(pumps, 1);
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Show));
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Switch));
    EXPECT_FALSE(animator.StartAnimation(AnimationRoutine::Hide));
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.TouchesAfterClose(), 0);
    EXPECT_EQ(window.EventCount(), mark);
}

INSTANTIATE_TEST_SUITE_P(EachAnimation, StopAndJoinTest,
                         ::testing::Values(AnimationRoutine::Show, AnimationRoutine::Hide,
                                           AnimationRoutine::Switch));

TEST(PopupAnimatorLifetime, DestructorJoinsARunningAnimation) {
    FakePopupWindow window;
    window.PauseSleeps(true);
    {
        CPopupAnimator animator(window);
        animator.SetPopupGeometry({317, 96});
        ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Show));
        ASSERT_TRUE(animator.StartAnimation(AnimationRoutine::Switch));
    }
    window.Close();
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.TouchesAfterClose(), 0);
}

// Random track changes, hide ticks and toggles from the UI thread while the
// animations run with small real pauses. Built for ThreadSanitizer.
class AnimatorStress : public PopupAnimatorTest {
  protected:
    int RunRandomRequests(int count, unsigned seed) {
        std::mt19937 random(seed);
        int width = 317;
        for (int i = 0; i < count; ++i) {
            switch (random() % 4) {
            case 0:
            case 1: // a track change, as the poll handles it
                width = 317 + 45 * static_cast<int>(random() % 6);
                animator.SetPopupGeometry({width, 96});
                animator.StartAnimation(animator.IsShown() ? AnimationRoutine::Switch
                                                           : AnimationRoutine::Show);
                break;
            case 2: // a hide timer tick
                window.AdvanceClock(random() % 3000);
                if (animator.HideDue(window.Now(), random() % 4 == 0))
                    animator.StartAnimation(AnimationRoutine::Hide);
                break;
            default: // the tray's show/hide command
                if (animator.State() == ANIM_IDLE)
                    animator.StartAnimation(animator.IsShown() ? AnimationRoutine::Hide
                                                               : AnimationRoutine::Show);
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 1500));
        }
        return width;
    }
};

TEST_F(AnimatorStress, TheLastReportedTrackEndsUpShown) {
    window.PauseSleeps(true);
    RunRandomRequests(400, 20240601);
    const int last = 497;
    animator.SetPopupGeometry({last, 96});
    animator.StartAnimation(animator.IsShown() ? AnimationRoutine::Switch : AnimationRoutine::Show);
    ASSERT_TRUE(window.WaitQuiet());
    const Events events = window.Events();
    const Events show = ShowEvents(last);
    ASSERT_GE(events.size(), show.size());
    EXPECT_EQ(Events(events.end() - show.size(), events.end()), show);
    EXPECT_TRUE(window.MovesWereSerialised());
    ExpectUp(last);
}

TEST_F(AnimatorStress, StopAndJoinWhileRequestsFly) {
    window.PauseSleeps(true);
    RunRandomRequests(150, 7);
    animator.StopAndJoin([] {});
    window.Close();
    ASSERT_TRUE(window.WaitQuiet());
    EXPECT_EQ(window.TouchesAfterClose(), 0);
    EXPECT_TRUE(window.MovesWereSerialised());
}

} // namespace
