#pragma once
// The window rectangles of the pop-up's three animations, in screen
// coordinates, one per step. The animator moves the window through them.

#include "core/PopupLayout.h"

#include <vector>

struct WindowStep {
    int x, y, cx, cy;
};

inline bool operator==(const WindowStep& a, const WindowStep& b) {
    return a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy;
}

constexpr int kShowSteps = 276, kShowPauseMs = 4;
constexpr int kHidePhaseSteps = 26, kHidePauseMs = 30;
constexpr int kSwitchSteps = 51, kSwitchPauseMs = 4;
constexpr int kHiddenBarHeight = 6; // what the collapse leaves of the pop-up's height
// How much of the way each step of a hide's phase (1/25: the last of its 26
// steps closes it fully) and of a switch (1/50) goes.
constexpr double kHideCloseStep = 0.04, kSwitchShrinkStep = 0.02;

// `popupWidth` is the pop-up's width on the screen. At another DPI than 96
// the resting place, the height and the hidden bar are their 96-DPI values
// scaled (see DpiScale.h); the step counts and pauses stay, so an animation
// takes as long at any DPI.

// Where a show starts: full size just left of the screen, brought to the top.
WindowStep ShowStartStep(int popupWidth, int dpi = kDefaultDpi);
// The grow-in: step k is at x = 64k/275 and W*k/275 wide.
std::vector<WindowStep> ShowSteps(int popupWidth, int dpi = kDefaultDpi);
// The collapse: 26 steps closing towards the middle line, then 26 closing the
// remaining bar towards its centre.
std::vector<WindowStep> HideSteps(int popupWidth, int dpi = kDefaultDpi);
// The pop-up shrinks into its right edge from wherever it is.
std::vector<WindowStep> SwitchSteps(const Rect& current);
