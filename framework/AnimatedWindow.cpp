#include "framework/AnimatedWindow.h"
#include "framework/Gdi.h"
#include "framework/WinThread.h"

void CAnimatedWindow::MoveWindow(const WindowStep& step, bool bringToTop) {
    UINT flags = SWP_NOACTIVATE;
    if (!bringToTop)
        flags |= SWP_NOZORDER;
    ::SetWindowPos(m_window, nullptr, step.x, step.y, step.cx, step.cy, flags);
}

void CAnimatedWindow::MoveWindowOrigin() {
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect CAnimatedWindow::GetWindowRect() {
    RECT rect{};
    ::GetWindowRect(m_window, &rect);
    return ToRect(rect);
}

void CAnimatedWindow::StartHideTimer() {
    ::PostMessageA(m_window, m_timerMessage, 1, 0);
}

void CAnimatedWindow::StopHideTimer() {
    ::PostMessageA(m_window, m_timerMessage, 0, 0);
}

void CAnimatedWindow::Pause(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

int64_t CAnimatedWindow::Now() {
    return static_cast<int64_t>(::GetTickCount64());
}

bool CAnimatedWindow::LaunchThread(std::function<void()> routine) {
    return AfxBeginThread(std::move(routine));
}
