#include "core/AnimationSteps.h"

#include <cstdint>

WindowStep ShowStartStep(int popupWidth, int dpi) {
    return {-popupWidth, ScaleForDpi(kRestY, dpi), popupWidth, ScaleForDpi(kPopupHeight, dpi)};
}

std::vector<WindowStep> ShowSteps(int popupWidth, int dpi) {
    constexpr int64_t kLast = kShowSteps - 1;
    const int64_t restX = ScaleForDpi(kRestX, dpi);
    const int restY = ScaleForDpi(kRestY, dpi), height = ScaleForDpi(kPopupHeight, dpi);
    std::vector<WindowStep> steps;
    steps.reserve(kShowSteps);
    for (int64_t k = 0; k <= kLast; ++k) {
        const int x = static_cast<int>(restX * k / kLast);
        const int cx = static_cast<int>(popupWidth * k / kLast);
        steps.push_back({x, restY, cx, height});
    }
    return steps;
}

std::vector<WindowStep> HideSteps(int popupWidth, int dpi) {
    // Each offset is computed in double from the fraction of the phase and
    // then truncated, top and bottom (left and right) separately: rounding the
    // offset first, or sharing one value between the edges, moves some steps
    // by a pixel. The unit test pins the first, middle and last rectangles.
    const int l = 0, t = 0, r = popupWidth, b = ScaleForDpi(kPopupHeight, dpi);
    const int restX = ScaleForDpi(kRestX, dpi), restY = ScaleForDpi(kRestY, dpi);
    // How far each edge closes: at 96 DPI, 66 / 2 - 3 = 30 leaves the 6-pixel bar.
    const int d = ((b - t) - ScaleForDpi(kHiddenBarHeight, dpi)) / 2;
    const int h = (r - l) / 2;
    std::vector<WindowStep> steps;
    steps.reserve(2 * kHidePhaseSteps);
    for (int n = kHidePhaseSteps - 1; n >= 0; --n) {
        const double f = (1.0 - n * kHideCloseStep) * d;
        const int top = static_cast<int>((t + restY) + f);
        const int bottom = static_cast<int>((b + restY) - f);
        steps.push_back({l + restX, top, r - l, bottom - top});
    }
    for (int n = kHidePhaseSteps - 1; n >= 0; --n) {
        const double f = (1.0 - n * kHideCloseStep) * h;
        const int left = static_cast<int>((l + restX) + f);
        const int right = static_cast<int>((r + restX) - f);
        steps.push_back({left, t + restY + d, right - left, (b - t) - 2 * d});
    }
    return steps;
}

std::vector<WindowStep> SwitchSteps(const Rect& current) {
    const int w = current.Width();
    std::vector<WindowStep> steps;
    steps.reserve(kSwitchSteps);
    for (int n = kSwitchSteps - 1; n >= 0; --n) {
        const int x = static_cast<int>((1.0 - n * kSwitchShrinkStep) * w + current.left);
        steps.push_back({x, current.top, current.right - x, current.Height()});
    }
    return steps;
}
