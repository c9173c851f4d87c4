#include "core/AnimationSteps.h"

#include <cstdint>

WindowStep ShowStartStep(int popupWidth) {
    return {-popupWidth, kRestY, popupWidth, kPopupHeight};
}

std::vector<WindowStep> ShowSteps(int popupWidth) {
    constexpr int64_t kLast = kShowSteps - 1;
    std::vector<WindowStep> steps;
    steps.reserve(kShowSteps);
    for (int64_t k = 0; k <= kLast; ++k) {
        const int x = static_cast<int>(kRestX * k / kLast);
        const int cx = static_cast<int>(popupWidth * k / kLast);
        steps.push_back({x, kRestY, cx, kPopupHeight});
    }
    return steps;
}

std::vector<WindowStep> HideSteps(int popupWidth) {
    // Each offset is computed in double from the fraction of the phase and
    // then truncated, top and bottom (left and right) separately: rounding the
    // offset first, or sharing one value between the edges, moves some steps
    // by a pixel. The unit test pins the first, middle and last rectangles.
    const int l = 0, t = 0, r = popupWidth, b = kPopupHeight;
    const int d = (b - t) / 2 - 3;
    const int h = (r - l) / 2;
    std::vector<WindowStep> steps;
    steps.reserve(2 * kHidePhaseSteps);
    for (int n = kHidePhaseSteps - 1; n >= 0; --n) {
        const double f = (1.0 - n * 0.04) * d;
        const int top = static_cast<int>((t + kRestY) + f);
        const int bottom = static_cast<int>((b + kRestY) - f);
        steps.push_back({l + kRestX, top, r - l, bottom - top});
    }
    for (int n = kHidePhaseSteps - 1; n >= 0; --n) {
        const double f = (1.0 - n * 0.04) * h;
        const int left = static_cast<int>((l + kRestX) + f);
        const int right = static_cast<int>((r + kRestX) - f);
        steps.push_back({left, t + kRestY + d, right - left, (b - t) - 2 * d});
    }
    return steps;
}

WindowStep HideFinalStep() {
    return {0, 0, 0, 0};
}

std::vector<WindowStep> SwitchSteps(const Rect& current) {
    const int w = current.Width();
    std::vector<WindowStep> steps;
    steps.reserve(kSwitchSteps);
    for (int n = kSwitchSteps - 1; n >= 0; --n) {
        const int x = static_cast<int>((1.0 - n * 0.02) * w + current.left);
        steps.push_back({x, current.top, current.right - x, current.Height()});
    }
    return steps;
}
