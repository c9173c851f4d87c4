#include "shell/FullScreenProbe.h"
#include <shellapi.h>

namespace {

Rect ToRect(const RECT& rect) {
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

Rect MonitorRect(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !::GetMonitorInfoA(monitor, &info))
        return Rect{};
    return ToRect(info.rcMonitor);
}

UserNotificationState ReadUserNotificationState() {
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (FAILED(::SHQueryUserNotificationState(&state)))
        return UserNotificationState::Accepts;
    return UserNotificationStateFromShell(static_cast<int>(state));
}

} // namespace

ForegroundWindow ReadForegroundWindow() {
    ForegroundWindow seen;
    HWND window = ::GetForegroundWindow();
    if (!window || !::IsWindowVisible(window))
        return seen;
    seen.present = true;
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    seen.ours = process == ::GetCurrentProcessId();
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    seen.shell = window == ::GetDesktopWindow() || window == ::GetShellWindow() ||
                 IsShellWindowClass(className);
    seen.maximised = ::IsZoomed(window) != FALSE;
    seen.monitor = MonitorRect(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    RECT client{};
    if (::GetClientRect(window, &client)) {
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        seen.client = ToRect(client);
    }
    return seen;
}

bool FullScreenAppOnMonitorAt(POINT point) {
    return IsFullScreenAppInFront(ReadForegroundWindow(),
                                  MonitorRect(::MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY)),
                                  ReadUserNotificationState());
}
