#include "core/DpiScale.h"

#include <climits>
#include <cstdint>

namespace {
constexpr int kHighestDpi = 4800;

int Clamp(int64_t value) {
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}
} // namespace

int UsableDpi(int dpi) {
    return dpi <= 0 || dpi > kHighestDpi ? kDefaultDpi : dpi;
}

int ScaleForDpi(int value, int dpi) {
    const int64_t scale = UsableDpi(dpi);
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    const int64_t scaled = (magnitude * scale + kDefaultDpi / 2) / kDefaultDpi;
    return Clamp(value < 0 ? -scaled : scaled);
}

int UnscaleForDpi(int pixels, int dpi) {
    if (pixels <= 0)
        return pixels;
    const int64_t scale = UsableDpi(dpi);
    return Clamp((static_cast<int64_t>(pixels) * kDefaultDpi + scale - 1) / scale);
}
