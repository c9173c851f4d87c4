// CAnimatedWindow: what the animation threads do to a window (the animator's
// IPopupWindow): moves that never activate it, and hold-timer requests
// posted to the window's own thread, which alone may set its timers.
#pragma once
#include "core/PopupAnimator.h"
#include <windows.h>

class CAnimatedWindow : public IPopupWindow {
  public:
    // `window` is read at each call (the window may be made after this
    // object); `timerMessage` is posted with wParam 1 to start the hold
    // timer and 0 to stop it.
    CAnimatedWindow(const HWND& window, UINT timerMessage)
        : m_window(window), m_timerMessage(timerMessage) {}

    void MoveWindow(const WindowStep& step, bool bringToTop) override;
    void MoveWindowOrigin() override;
    Rect GetWindowRect() override;
    void StartHideTimer() override;
    void StopHideTimer() override;
    void Pause(int milliseconds) override;
    int64_t Now() override;
    bool LaunchThread(std::function<void()> routine) override;

  private:
    const HWND& m_window;
    UINT m_timerMessage;
};
