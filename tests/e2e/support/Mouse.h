// The mouse, as the tests drive it: the cursor out of the way, clicks posted
// to a window and real clicks through the input queue.
#pragma once

#include <windows.h>

namespace e2e {

// Moves the cursor to the middle of the screen, away from the pop-up and its
// buttons.
void ParkCursor();

// Posts a press and release of the left button at a client point of the
// window, as the system delivers a click to the window under the cursor.
void PostClick(HWND window, POINT client);

// Sends the same press and release and returns once the window has handled
// both (and whatever the program sent to the driver's windows meanwhile);
// false when the program did not answer in time.
bool SendClick(HWND window, POINT client);

// A real click of the left button where the cursor is, through the system's
// input queue (SendInput).
void ClickLeftButton();

} // namespace e2e
