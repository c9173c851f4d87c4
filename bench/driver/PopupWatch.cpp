#include "PopupWatch.h"

#include "support/Wait.h"

namespace bench {
namespace {

double MsSince(const LARGE_INTEGER& since) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - since.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// One sample a millisecond or so: fine enough for the times measured, and
// it leaves the machine's CPUs to the program being measured.
void BetweenSamples() {
    e2e::PumpMessages();
    Sleep(1);
}

} // namespace

std::optional<double> WaitForFirstMove(HWND window, const e2e::Box& before,
                                       const LARGE_INTEGER& since, DWORD timeoutMs) {
    for (;;) {
        if (e2e::WindowBox(window) != before)
            return MsSince(since);
        if (MsSince(since) > timeoutMs)
            return std::nullopt;
        BetweenSamples();
    }
}

bool WaitUntilStill(HWND window, DWORD stillMs, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    e2e::Box last = e2e::WindowBox(window);
    ULONGLONG lastChange = GetTickCount64();
    while (GetTickCount64() < end) {
        BetweenSamples();
        const e2e::Box box = e2e::WindowBox(window);
        const ULONGLONG now = GetTickCount64();
        if (box != last) {
            last = box;
            lastChange = now;
        } else if (now - lastChange >= stillMs) {
            return true;
        }
    }
    return false;
}

bool WaitUntilHidden(HWND window, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        const DWORD left = static_cast<DWORD>(end - GetTickCount64());
        if (!WaitUntilStill(window, 500, left))
            return false;
        // A collapsed pop-up waits in the screen's corner, as a sliver of
        // whatever size the collapse ended with (nothing before the first show).
        const e2e::Box box = e2e::WindowBox(window);
        if (box.x == 0 && box.y == 0)
            return true;
        e2e::PumpFor(100);
    }
    return false;
}

} // namespace bench
