#include "app/NowPlayingWnd.h"
#include "config/Settings.h"
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"
#include "players/Players.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"
#include "shell/FullScreenProbe.h"
#include "shell/LyricsSearch.h"
#include "shell/PrefsDlg.h"

BEGIN_MESSAGE_MAP(CNowPlayingWnd, CDialog)
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_MESSAGE(WM_TRAYNOTIFY, OnTrayNotify)
ON_COMMAND(ID_TRAY_PREFERENCES, OnPreferences)
ON_COMMAND(ID_TRAY_EXIT, OnExit)
ON_COMMAND(ID_TRAY_SHOW, OnToggleNowPlaying)
ON_COMMAND(ID_TRAY_ABOUT, OnAbout)
ON_MESSAGE(WM_HIDETIMER_REQUEST, OnHideTimerRequest)
ON_MESSAGE(WM_PLAYER_ANNOUNCED, OnPlayerAnnounced)
ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
ON_MESSAGE(WM_DISPLAYCHANGE, OnDpiChanged)
END_MESSAGE_MAP()

CNowPlayingWnd::CNowPlayingWnd(CWnd* parent)
    : CDialog(IDD_NOWPLAYING, parent),
      m_watch([this] { ::PostMessageA(m_hWnd, WM_PLAYER_ANNOUNCED, 0, 0); },
              [this] { return StaysQuiet(); },
              [] { return static_cast<int64_t>(::GetTickCount64()); }) {
    HINSTANCE instance = AfxGetInstanceHandle();
    m_hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    m_tray.AddIcon(this, WM_TRAYNOTIFY, "Trackglow",
                   ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY)), IDR_TRAYMENU);
}

CNowPlayingWnd::~CNowPlayingWnd() {
    m_animator.StopAndJoin([] {}); // no animation may outlive the window object
}

BOOL CNowPlayingWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    // No task-bar button; topmost; no size until the first show.
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & ~WS_EX_APPWINDOW);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE);

    const bool firstStart = !SettingsFileExists(); // from now on the file is there
    g_settingsIni.Load(SettingsFilePath());
    LoadSkin();
    RegisterPlayers(m_watch, m_hWnd);
    WatchPlayersFromSettings(m_watch);
    m_view.Layout("", MonitorDpiAt(POINT{kRestX, kRestY}));
    SetTimer(IDT_POLL, kPollPeriodMs); // the fallback for whatever no player announces
    if (firstStart && SettingsFileExists())
        m_tray.ShowWelcomeBalloon();
    return TRUE;
}

void CNowPlayingWnd::LoadSkin() {
    m_view.LoadSkin(StoredSkinName());
}

void CNowPlayingWnd::LayoutPopup() {
    m_view.Layout(m_watch.ShownTrack(), m_view.Dpi());
    m_animator.SetPopupGeometry({m_view.Width(), m_view.Dpi()});
}

void CNowPlayingWnd::PollPlayers() {
    if (m_watch.Poll())
        ShowNewTrack();
}

LRESULT CNowPlayingWnd::OnPlayerAnnounced(WPARAM, LPARAM) {
    if (m_watch.PollAnnounced())
        ShowNewTrack();
    return 0;
}

void CNowPlayingWnd::ShowNewTrack() {
    LayoutPopup();
    StartAnimation(m_animator.IsShown() ? AnimationRoutine::Switch : AnimationRoutine::Show);
}

bool CNowPlayingWnd::StaysQuiet() const {
    if (g_settingsIni.GetInt(kPreferencesSection, kShowOverFullScreenKey) == 1)
        return false;
    return FullScreenAppOnMonitorAt(RestPoint());
}

POINT CNowPlayingWnd::RestPoint() const {
    return POINT{ScaleForDpi(kRestX, m_view.Dpi()), ScaleForDpi(kRestY, m_view.Dpi())};
}

bool CNowPlayingWnd::StartAnimation(AnimationRoutine routine) {
    if (!m_animator.StartAnimation(routine))
        return false;
    if (m_animator.State() == ANIM_SWITCHING)
        KillTimer(IDT_HIDE); // the new show starts its own hold
    return true;
}

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
    } else if (id == IDT_HIDE &&
               m_animator.HideDue(::GetTickCount64(), m_view.Hover() != HOVER_NONE)) {
        // Should the hide not start (no thread), the next tick tries again.
        if (StartAnimation(AnimationRoutine::Hide))
            KillTimer(IDT_HIDE);
    }
}

LRESULT CNowPlayingWnd::OnHideTimerRequest(WPARAM start, LPARAM) {
    // A show asks for its hold when it ends; by the time the request arrives
    // a newer request (a hide from the tray, a switch) may own the pop-up.
    if (start && m_animator.IsResting())
        SetTimer(IDT_HIDE, kHidePeriodMs);
    else
        KillTimer(IDT_HIDE);
    return 0;
}

void CNowPlayingWnd::OnToggleNowPlaying() {
    if (m_animator.State() != ANIM_IDLE)
        return;
    if (m_animator.IsShown()) {
        if (StartAnimation(AnimationRoutine::Hide))
            KillTimer(IDT_HIDE);
    } else {
        m_watch.ShowNewest(); // also a track held back over a full-screen application
        LayoutPopup();
        StartAnimation(AnimationRoutine::Show);
    }
}

void CNowPlayingWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    m_view.Paint(dc);
}

void CNowPlayingWnd::OnMouseMove(UINT, POINT point) {
    SetHover(m_view.HitTest(point));
}

void CNowPlayingWnd::SetHover(HoverValue value) {
    if (!m_view.SetHover(value))
        return;
    const RECT caption = m_view.CaptionRect();
    InvalidateRect(&caption, TRUE);
}

LRESULT CNowPlayingWnd::OnMouseActivate(WPARAM, LPARAM) {
    // A click on the pop-up works without activating it: the window the
    // user was in keeps the foreground and the focus.
    return MA_NOACTIVATE;
}

void CNowPlayingWnd::OnLButtonDown(UINT, POINT point) {
    switch (m_view.HitTest(point)) {
    case HOVER_PREVIOUS:
        m_watch.Previous();
        break;
    case HOVER_NEXT:
        m_watch.Next();
        break;
    case HOVER_LYRICS:
        SearchLyrics();
        break;
    default:
        break;
    }
}

void CNowPlayingWnd::SearchLyrics() {
    ::SearchLyrics(m_watch.ShownTrack());
}

LRESULT CNowPlayingWnd::OnDpiChanged(WPARAM, LPARAM) {
    // Also sent while an animation crosses a monitor of another DPI: the
    // pop-up is laid out for the monitor it rests on.
    ApplyDpi(MonitorDpiAt(POINT{kRestX, kRestY}));
    return 0;
}

void CNowPlayingWnd::ApplyDpi(int dpi) {
    m_view.Layout(m_view.Text(), UsableDpi(dpi));
    m_animator.SetPopupGeometry({m_view.Width(), m_view.Dpi()});
    // Up and still, it takes its new size in place; a moving pop-up ends its
    // move in the size it started with.
    if (m_animator.IsResting()) {
        const POINT rest = RestPoint();
        SetWindowPos(nullptr, rest.x, rest.y, m_view.Width(), m_view.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(nullptr, TRUE);
    }
}

LRESULT CNowPlayingWnd::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    return m_tray.OnIconNotify(wParam, lParam);
}

void CNowPlayingWnd::OnPreferences() {
    if (m_bPrefsOpen)
        return; // already open: the tray menu still works while it runs
    m_bPrefsOpen = true;
    CPrefsDlg dialog;
    if (m_dialogs.Run(dialog) == IDOK) {
        // With no skin selected (the stored name in another letter case, say)
        // the stored skin stays.
        if (!dialog.m_strSkin.empty() &&
            dialog.m_strSkin != g_settingsIni.GetString(kPreferencesSection, kSkinKey)) {
            g_settingsIni.SetString(kPreferencesSection, kSkinKey, dialog.m_strSkin, true);
            LoadSkin();
            ShowNewTrack();
        }
        WatchPlayersAsChosen(m_watch, dialog.m_players); // at once
        g_settingsIni.Save();
    }
    m_bPrefsOpen = false;
}

void CNowPlayingWnd::OnAbout() {
    CAboutDlg about;
    m_dialogs.Run(about);
}

void CNowPlayingWnd::OnExit() {
    if (m_bExiting)
        return;
    if (m_dialogs.AnyOpen()) {
        // Chosen from the tray inside a dialog's loop: the dialogs close
        // first, then the exit goes on.
        m_dialogs.CloseAll(m_hWnd, [this] { ::PostMessageA(m_hWnd, WM_COMMAND, ID_TRAY_EXIT, 0); });
        return;
    }
    m_bExiting = true;
    m_watch.Stop();
    // Running animations end first. A thread may wait in a window move that
    // this thread has to carry out: only such sent messages are handled
    // meanwhile; timers, clicks and commands (a second Exit) wait, so nothing
    // of the program runs again while it is being taken down.
    m_animator.StopAndJoin([] { HandleSentMessages(5); });
    m_view.ReleaseSkinBitmaps();
    m_tray.WithdrawIcon();
    CDialog::OnOK();
}
