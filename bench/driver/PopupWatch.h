// Watching the pop-up (the program's main window) from outside: its first
// move after a title change, and the moment it comes to rest.
#pragma once

#include "support/Geometry.h"

#include <windows.h>

#include <optional>

namespace bench {

// Milliseconds from `since` (a performance-counter reading taken before the
// change) until the window's rectangle differs from `before`; nothing when
// it did not move within the time.
std::optional<double> WaitForFirstMove(HWND window, const e2e::Box& before,
                                       const LARGE_INTEGER& since, DWORD timeoutMs);

// Waits until the window's rectangle has not changed for `stillMs`; false
// when it was still moving after `timeoutMs`.
bool WaitUntilStill(HWND window, DWORD stillMs, DWORD timeoutMs);

// Waits until the pop-up has collapsed into the screen's corner and stays there.
bool WaitUntilHidden(HWND window, DWORD timeoutMs);

} // namespace bench
