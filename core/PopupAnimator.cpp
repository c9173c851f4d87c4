#include "core/PopupAnimator.h"

#include <chrono>
#include <condition_variable>

// Counts the animation threads that have been launched and not yet ended.
// Shared with the threads, so the last of them can still signal after the
// animator is gone.
class CPopupAnimator::ThreadCount {
  public:
    void Add() {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_count;
    }
    void Remove() {
        std::lock_guard<std::mutex> lock(m_lock);
        if (--m_count == 0)
            m_none.notify_all();
    }
    bool WaitForNone(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_none.wait_for(lock, timeout, [this] { return m_count == 0; });
    }

  private:
    std::mutex m_lock;
    std::condition_variable m_none;
    int m_count = 0;
};

CPopupAnimator::CPopupAnimator(IPopupWindow& window)
    : m_window(window), m_threads(std::make_shared<ThreadCount>()) {}

CPopupAnimator::~CPopupAnimator() {
    StopAndJoin([] {});
}

void CPopupAnimator::SetPopupGeometry(PopupGeometry geometry) {
    geometry.dpi = UsableDpi(geometry.dpi);
    m_geometry = geometry;
}

bool CPopupAnimator::StartAnimation(AnimationRoutine routine) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    if (m_bStopped)
        return false; // not even the clock is read after StopAndJoin
    const bool hidden = m_nAnimState == ANIM_IDLE && !m_bShown;
    const bool up = m_nAnimState == ANIM_IDLE && m_bShown;
    if (routine == AnimationRoutine::Show && !hidden)
        routine = AnimationRoutine::Switch; // a new text for a pop-up that is up or moving
    if (routine == AnimationRoutine::Hide && !up)
        return false;

    // The worker waits for this lock before it starts, so it sees the request
    // recorded; if the launch fails, nothing has been changed.
    const uint64_t request = m_nRequest + 1;
    if (!Launch(routine, request))
        return false;
    m_nRequest = request;
    switch (routine) {
    case AnimationRoutine::Show:
        m_nAnimState = ANIM_SHOWING;
        m_bShown = true;
        m_nShowTime = m_window.Now();
        break;
    case AnimationRoutine::Hide:
        m_nAnimState = ANIM_HIDING;
        break;
    case AnimationRoutine::Switch:
        // At once, so a running show or hide stops at its next step.
        m_nAnimState = ANIM_SWITCHING;
        break;
    }
    return true;
}

bool CPopupAnimator::Launch(AnimationRoutine routine, uint64_t request) {
    std::shared_ptr<ThreadCount> threads = m_threads;
    threads->Add();
    bool launched = false;
    try {
        launched = m_window.LaunchThread([this, threads, routine, request] {
            Run(routine, request);
            threads->Remove(); // the last touch of the animator's data
        });
    } catch (...) {
        threads->Remove();
        throw;
    }
    if (!launched)
        threads->Remove();
    return launched;
}

void CPopupAnimator::Run(AnimationRoutine routine, uint64_t request) {
    { std::lock_guard<std::mutex> recorded(m_stateLock); }
    std::lock_guard<std::mutex> mover(m_moveLock);
    if (!IsCurrent(request))
        return; // superseded before it could start
    switch (routine) {
    case AnimationRoutine::Show:
        ShowThreadProc(request);
        break;
    case AnimationRoutine::Hide:
        HideThreadProc(request);
        break;
    case AnimationRoutine::Switch:
        SwitchThreadProc(request);
        break;
    }
}

void CPopupAnimator::ShowThreadProc(uint64_t request) {
    const PopupGeometry geometry = m_geometry;
    m_window.MoveWindow(ShowStartStep(geometry.width, geometry.dpi), true);
    for (const WindowStep& step : ShowSteps(geometry.width, geometry.dpi)) {
        if (!IsCurrent(request))
            return; // superseded: no hold, no hide timer, the state is the newer one's
        m_window.MoveWindow(step, false);
        m_window.Pause(kShowPauseMs);
    }
    const int64_t now = m_window.Now();
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        if (!IsCurrent(request))
            return;
        m_nShowTime = now; // the hold counts from the end of the show
        m_nAnimState = ANIM_IDLE;
    }
    m_window.StartHideTimer();
}

void CPopupAnimator::HideThreadProc(uint64_t request) {
    const PopupGeometry geometry = m_geometry;
    for (const WindowStep& step : HideSteps(geometry.width, geometry.dpi)) {
        // A superseded hide stops at once: the pop-up is still up, and
        // whatever superseded it owns the window and the state now.
        if (!IsCurrent(request))
            return;
        m_window.MoveWindow(step, false);
        m_window.Pause(kHidePauseMs);
    }
    if (!IsCurrent(request))
        return;
    m_window.MoveWindowOrigin();
    std::lock_guard<std::mutex> lock(m_stateLock);
    if (!IsCurrent(request))
        return;
    m_bShown = false;
    m_nAnimState = ANIM_IDLE;
}

void CPopupAnimator::SwitchThreadProc(uint64_t request) {
    m_window.StopHideTimer();
    for (const WindowStep& step : SwitchSteps(m_window.GetWindowRect())) {
        if (!IsCurrent(request))
            return; // a newer switch takes over from wherever the window is now
        m_window.MoveWindow(step, false);
        m_window.Pause(kSwitchPauseMs);
    }
    const int64_t now = m_window.Now();
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        if (!IsCurrent(request))
            return;
        // Straight into the show, as StartAnimation(Show) would start it, but on
        // this thread: no other request can slip in between the two.
        m_nAnimState = ANIM_SHOWING;
        m_bShown = true;
        m_nShowTime = now;
    }
    ShowThreadProc(request);
}

bool CPopupAnimator::HideDue(int64_t now, bool hovering) const {
    if (hovering || !IsResting())
        return false;
    // Unsigned difference, read back as signed: no overflow however long the
    // program runs, and a clock that reads earlier than the show is not due.
    const uint64_t elapsed = static_cast<uint64_t>(now) - static_cast<uint64_t>(m_nShowTime.load());
    return static_cast<int64_t>(elapsed) >= kHideDelayMs;
}

void CPopupAnimator::StopAndJoin(const std::function<void()>& pumpMessages) {
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        m_bStopped = true;
        ++m_nRequest; // supersedes every animation, running or waiting
    }
    while (!m_threads->WaitForNone(std::chrono::milliseconds(5))) {
        if (pumpMessages)
            pumpMessages();
    }
}
