// The pop-up's behaviour: polling, the hide timer, hover and clicks, and the
// on-demand toggle.
#include "app/FullScreenProbe.h"
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"

namespace {
bool Inside(const RECT& rect, POINT point) {
    return ::PtInRect(&rect, point) != FALSE;
}
} // namespace

void CNowPlayingWnd::OnTimer(UINT_PTR id) {
    // No mouse message arrives once the cursor has left the window, so the
    // hover state is refreshed from the cursor position on every tick.
    POINT cursor{};
    if (::GetCursorPos(&cursor)) {
        ScreenToClient(&cursor);
        OnMouseMove(0, cursor);
    }

    if (id == IDT_POLL) {
        PollPlayers();
    } else if (id == IDT_HIDE) {
        if (!m_animator.HideDue(Now(), m_nHover != HOVER_NONE))
            return;
        // Should the hide not start (no thread), the next tick tries again.
        if (StartAnimation(AnimationRoutine::Hide))
            KillTimer(IDT_HIDE);
    }
}

void CNowPlayingWnd::PollPlayers() {
    // Winamp first; the media player only when Winamp reports nothing.
    if (!PollWinamp() && !PollMediaPlayer())
        return;
    ShowNewTrack();
}

void CNowPlayingWnd::ShowNewTrack() {
    // Over a game, a film or a slide show nothing moves: the track is kept,
    // for "Trackglow?" to show on demand; the next track after it shows as usual.
    if (StaysQuiet())
        return;
    LayoutPopup();
    StartAnimation(m_animator.IsShown() ? AnimationRoutine::Switch : AnimationRoutine::Show);
}

bool CNowPlayingWnd::StaysQuiet() const {
    if (g_settingsIni.GetInt(kPreferencesSection, kShowOverFullScreenKey) == 1)
        return false;
    return FullScreenAppOnMonitorAt(RestPoint());
}

void CNowPlayingWnd::OnMouseMove(UINT, POINT point) {
    if (Inside(m_rcPrev, point))
        SetHover(HOVER_PREVIOUS);
    else if (Inside(m_rcNext, point))
        SetHover(HOVER_NEXT);
    else if (Inside(m_rcLyrics, point))
        SetHover(HOVER_LYRICS);
    else
        SetHover(HOVER_NONE);
}

void CNowPlayingWnd::SetHover(HoverValue value) {
    if (value == m_nHover)
        return;
    m_nHover = value;
    InvalidateRect(&m_rcCaption, TRUE);
}

LRESULT CNowPlayingWnd::OnMouseActivate(WPARAM, LPARAM) {
    // A click on the pop-up (a button, the text) works without activating
    // it: the window the user was in keeps the foreground and the focus.
    return MA_NOACTIVATE;
}

void CNowPlayingWnd::OnLButtonDown(UINT, POINT point) {
    if (Inside(m_rcPrev, point))
        PreviousTrack();
    else if (Inside(m_rcNext, point))
        NextTrack();
    else if (Inside(m_rcLyrics, point))
        SearchLyrics();
}

void CNowPlayingWnd::OnToggleNowPlaying() {
    if (m_animator.State() != ANIM_IDLE)
        return;
    if (m_animator.IsShown()) {
        if (StartAnimation(AnimationRoutine::Hide))
            KillTimer(IDT_HIDE);
    } else {
        LayoutPopup();
        StartAnimation(AnimationRoutine::Show);
    }
}

bool CNowPlayingWnd::StartAnimation(AnimationRoutine routine) {
    if (!m_animator.StartAnimation(routine))
        return false;
    if (m_animator.State() == ANIM_SWITCHING)
        KillTimer(IDT_HIDE); // the new show starts its own 5 seconds
    return true;
}
