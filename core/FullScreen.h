#pragma once
// Whether the user is in a full-screen application (a game, a film, a slide
// show) on the monitor where the pop-up would show: then a new track does not
// bring the pop-up up.

#include "core/PopupLayout.h"

#include <string_view>

// What the shell says of the user's notification state (its own answer,
// SHQueryUserNotificationState), reduced to what matters here.
enum class UserNotificationState {
    Accepts,            // notifications welcome, or the shell cannot tell
    Busy,               // a full-screen application runs
    Direct3DFullScreen, // a full-screen Direct3D application runs
    Presenting,         // presentation mode is on
};

// The shell's answer by its number (QUERY_USER_NOTIFICATION_STATE: 2 busy,
// 3 Direct3D full screen, 4 presentation mode; every other value welcomes
// notifications or says nothing about full screen).
UserNotificationState UserNotificationStateFromShell(int state);

// The window in the foreground, as seen from here.
struct ForegroundWindow {
    bool present = false;   // there is a visible foreground window
    bool ours = false;      // it belongs to this program
    bool shell = false;     // it is the desktop or one of the shell's own windows
    bool maximised = false; // maximised: an application window, however it is framed
    Rect client;            // its client area in screen coordinates
    Rect monitor;           // the monitor it is on
};

// True when `className` names one of the shell's windows that may hold the
// foreground without being an application: the desktop behind the icons and
// the task bars.
bool IsShellWindowClass(std::string_view className);

// True when the client area covers the whole monitor (an application whose
// window has a caption or a border, maximised or not, does not).
bool CoversMonitor(const Rect& client, const Rect& monitor);

// True when the user is in a full-screen application on `monitor`: another
// program's foreground window on that monitor covers it with its client area
// (a maximised window never counts), or the shell says a full-screen
// application runs while the foreground window is on that monitor (the
// shell's state is session-wide: it cannot tell which monitor it means).
bool IsFullScreenAppInFront(const ForegroundWindow& foreground, const Rect& monitor,
                            UserNotificationState state);
