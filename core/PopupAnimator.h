#pragma once
// CPopupAnimator: which animation of the pop-up runs, on which worker thread,
// and what state the pop-up is in. The window itself is behind IPopupWindow,
// so the coordination is the same on Windows and in the native tests.
//
// Animations are serialised: one lock lets only one of them move the window,
// and every request gets a number; an animation that sees a newer number has
// been superseded and stops at its next step without touching the state. All
// state transitions happen under a second, short-held lock, together with the
// request decisions of the UI thread, so the UI never sees a half-made change.

#include "core/AnimationSteps.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class IPopupWindow {
  public:
    virtual ~IPopupWindow() = default;
    // SetWindowPos with SWP_NOACTIVATE, and SWP_NOZORDER unless bringToTop.
    virtual void MoveWindow(const WindowStep& step, bool bringToTop) = 0;
    // To (0, 0), keeping the size (the end of a hide).
    virtual void MoveWindowOrigin() = 0;
    virtual Rect GetWindowRect() = 0; // screen rectangle
    // Called from worker threads: the window posts itself a message and the UI
    // thread sets or kills the timer.
    virtual void StartHideTimer() = 0;
    virtual void StopHideTimer() = 0;
    virtual void Pause(int milliseconds) = 0;
    // Now and LaunchThread are called on the UI thread with the animator's
    // state lock held: they must return promptly and not call the animator.
    virtual int64_t Now() = 0; // milliseconds since the program started
    // Runs `routine` on a new thread. False when the thread cannot be created;
    // the routine then never runs.
    virtual bool LaunchThread(std::function<void()> routine) = 0;
};

// The pop-up's width on the screen and the DPI it was laid out for.
struct PopupGeometry {
    int width = kInitialPopupWidth;
    int dpi = kDefaultDpi;
};

enum AnimState { ANIM_IDLE = 0, ANIM_SHOWING = 1, ANIM_HIDING = 2, ANIM_SWITCHING = 3 };

enum class AnimationRoutine { Show, Hide, Switch };

// The pop-up stays up at least this long after a show ends.
constexpr int64_t kHideDelayMs = 5000;

class CPopupAnimator {
  public:
    explicit CPopupAnimator(IPopupWindow& window);
    // Stops and joins every animation (with nothing to pump: at Exit, call
    // StopAndJoin with the message pump first).
    ~CPopupAnimator();
    CPopupAnimator(const CPopupAnimator&) = delete;
    CPopupAnimator& operator=(const CPopupAnimator&) = delete;

    // UI thread, after each layout. An animation reads the geometry when it
    // starts, in one piece: never a width of one layout with the DPI of another.
    void SetPopupGeometry(PopupGeometry geometry);
    PopupGeometry Geometry() const { return m_geometry; }
    int PopupWidth() const { return Geometry().width; }

    // UI thread. Starts the routine on a worker thread and returns true, or
    // returns false when nothing was started:
    // - Show grows the pop-up in when it is hidden; when it is up or moving,
    //   the new text comes in by a switch instead.
    // - Hide collapses the pop-up only when it is up and still (idle and shown).
    // - Switch shrinks the pop-up from wherever it is and shows it again; it
    //   supersedes any running animation at once.
    // Nothing starts after StopAndJoin or when the thread cannot be created;
    // a request that starts nothing changes nothing.
    bool StartAnimation(AnimationRoutine routine);

    AnimState State() const { return m_nAnimState; }
    bool IsShown() const { return m_bShown; }
    int64_t ShowTime() const { return m_nShowTime; }

    // True when the pop-up is up and still: the state its hold timer is for.
    // A timer asked for by a show that a newer request has overtaken since
    // is not wanted any more.
    bool IsResting() const { return m_nAnimState == ANIM_IDLE && m_bShown; }

    // True when the pop-up is up and still, the hold since the end of its show
    // is over, and no button is hovered: time to start the hide.
    bool HideDue(int64_t now, bool hovering) const;

    // UI thread at Exit: supersedes every animation and waits for all their
    // threads to end, calling pumpMessages() meanwhile (a worker may be blocked
    // in SetWindowPos until the UI thread handles it). Afterwards no thread
    // touches the window and StartAnimation does nothing.
    void StopAndJoin(const std::function<void()>& pumpMessages);

  private:
    class ThreadCount;

    bool Launch(AnimationRoutine routine, uint64_t request);
    void Run(AnimationRoutine routine, uint64_t request);
    bool IsCurrent(uint64_t request) const { return m_nRequest == request; }
    // The routines, on worker threads, holding the move lock.
    void ShowThreadProc(uint64_t request);
    void HideThreadProc(uint64_t request);
    void SwitchThreadProc(uint64_t request);

    IPopupWindow& m_window;
    std::atomic<AnimState> m_nAnimState{ANIM_IDLE};
    std::atomic<bool> m_bShown{false};
    std::atomic<int64_t> m_nShowTime{0};
    std::atomic<PopupGeometry> m_geometry{PopupGeometry{}};
    std::atomic<uint64_t> m_nRequest{0}; // number of the newest request
    std::mutex m_stateLock;              // request decisions and state transitions
    std::mutex m_moveLock;               // held by the one animation that moves the window
    bool m_bStopped = false;             // guarded by m_stateLock
    std::shared_ptr<ThreadCount> m_threads;
};
