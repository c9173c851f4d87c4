#include "core/FullScreen.h"

#include <initializer_list>

bool IsShellWindowClass(std::string_view className) {
    // The desktop (Progman, and WorkerW behind a slide-show wallpaper) and the
    // task bars of the main and the other monitors.
    for (std::string_view shell :
         {"Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd"}) {
        if (className == shell)
            return true;
    }
    return false;
}

bool CoversMonitor(const Rect& client, const Rect& monitor) {
    if (monitor.Width() <= 0 || monitor.Height() <= 0)
        return false;
    return client.left <= monitor.left && client.top <= monitor.top &&
           client.right >= monitor.right && client.bottom >= monitor.bottom;
}

UserNotificationState UserNotificationStateFromShell(int state) {
    switch (state) {
    case 2:
        return UserNotificationState::Busy;
    case 3:
        return UserNotificationState::Direct3DFullScreen;
    case 4:
        return UserNotificationState::Presenting;
    default:
        return UserNotificationState::Accepts;
    }
}

bool IsFullScreenAppInFront(const ForegroundWindow& foreground, const Rect& monitor,
                            UserNotificationState state) {
    if (!foreground.present)
        return false;
    if (state != UserNotificationState::Accepts)
        return foreground.monitor == monitor;
    if (foreground.ours || foreground.shell || foreground.maximised)
        return false;
    return CoversMonitor(foreground.client, monitor);
}
