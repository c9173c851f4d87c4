#include "app/FullScreenProbe.h"
#include "core/FullScreen.h"
#include <shellapi.h>

namespace {

Rect ToRect(const RECT& rect) {
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

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
    RECT client{};
    if (::GetClientRect(window, &client)) {
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        seen.client = ToRect(client);
    }
    return seen;
}

Rect MonitorAt(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), &info))
        return Rect{};
    return ToRect(info.rcMonitor);
}

UserNotificationState ReadUserNotificationState() {
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (FAILED(::SHQueryUserNotificationState(&state)))
        return UserNotificationState::Accepts;
    switch (state) {
    case QUNS_BUSY:
        return UserNotificationState::Busy;
    case QUNS_RUNNING_D3D_FULL_SCREEN:
        return UserNotificationState::Direct3DFullScreen;
    case QUNS_PRESENTATION_MODE:
        return UserNotificationState::Presenting;
    default:
        return UserNotificationState::Accepts;
    }
}

} // namespace

bool FullScreenAppOnMonitorAt(POINT point) {
    return IsFullScreenAppInFront(ReadForegroundWindow(), MonitorAt(point),
                                  ReadUserNotificationState());
}
