// Looks at the desktop for the full-screen decision of core/FullScreen.h:
// the foreground window, the monitor, and what the shell says.
#pragma once
#include "core/FullScreen.h"
#include <windows.h>

// The foreground window as the full-screen rule sees it.
ForegroundWindow ReadForegroundWindow();

// True when the user is in a full-screen application on the monitor that
// holds `point` (screen coordinates): the shell reports one (busy, Direct3D
// full screen, presentation mode) while the foreground window is on that
// monitor, or another program's foreground window, not maximised, covers
// that whole monitor with its client area.
bool FullScreenAppOnMonitorAt(POINT point);
