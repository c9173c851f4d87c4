// Construction, start-up, tear-down and the tray commands of the main window.
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"
#include "players/LyricsSearch.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"
#include "shell/PrefsDlg.h"
#include <cstring>

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
ON_MESSAGE(WM_DISPLAYCHANGE, OnDisplayChange)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
constexpr const char kTooltip[] = "Trackglow";
constexpr UINT kTrayIconId = IDR_TRAYMENU;
// The one balloon of the first start.
constexpr const wchar_t kWelcomeTitle[] = L"Trackglow";
constexpr const wchar_t kWelcomeText[] =
    L"Trackglow is here \u2014 right-click to choose your players";
} // namespace

CNowPlayingWnd::CNowPlayingWnd(CWnd* parent)
    : CDialog(IDD_NOWPLAYING, parent), m_animator(static_cast<IPopupWindow&>(*this)) {
    HINSTANCE instance = AfxGetInstanceHandle();
    m_hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    m_tray.AddIcon(this, WM_TRAYNOTIFY, kTooltip, ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY)),
                   kTrayIconId);
    ::SetRect(&m_rcLayout, 0, 0, kInitialPopupWidth, kPopupHeight);
}

CNowPlayingWnd::~CNowPlayingWnd() {
    // No animation may outlive the window object.
    m_animator.StopAndJoin([] {});
    DestroyPlayerHost();
}

BOOL CNowPlayingWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    // No task-bar button; topmost; no size until the first show.
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & ~WS_EX_APPWINDOW);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE);

    // Without a settings file this is the program's first start.
    const bool firstStart = !SettingsFileExists();
    g_settingsIni.Load(SettingsFilePath());
    LoadSkin();
    WatchPlayers(g_settingsIni.GetInt(kPreferencesSection, kEnableWinampKey) == 1,
                 g_settingsIni.GetInt(kPreferencesSection, kEnableWmpKey) == 1);
    // Laid out for the monitor the pop-up rests on (the one that holds its
    // resting place at any DPI).
    m_nDpi = MonitorDpiAt(POINT{kRestX, kRestY});
    // The poll stays: it catches whatever no player announced.
    SetTimer(IDT_POLL, kPollPeriodMs);
    // A new user sees where the program went and what to do first. Once:
    // from now on the settings file is there.
    if (firstStart && SettingsFileExists())
        m_tray.ShowBalloon(kWelcomeTitle, kWelcomeText);
    return TRUE;
}

// Neither Enter nor Esc may close the program's main window.
void CNowPlayingWnd::OnOK() {}
void CNowPlayingWnd::OnCancel() {}

LRESULT CNowPlayingWnd::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    return m_tray.OnIconNotify(wParam, lParam);
}

void CNowPlayingWnd::LoadSkin() {
    std::string name = g_settingsIni.GetString(kPreferencesSection, kSkinKey);
    if (name.empty()) {
        name = kDefaultSkinName;
        g_settingsIni.SetString(kPreferencesSection, kSkinKey, kDefaultSkinName, true);
        g_settingsIni.Save();
    }
    m_skin.Load(name);
}

void CNowPlayingWnd::ReleaseSkinBitmaps() {
    m_skin.ReleaseBitmaps();
}

// --- Players -----------------------------------------------------------------

void CNowPlayingWnd::WatchPlayers(bool winamp, bool mediaPlayer) {
    m_winamp.SetEnabled(winamp);
    m_winamp.SetAnnounce([this] { RequestPoll(); });
    m_mediaPlayer.SetOwner(m_hWnd);
    m_mediaPlayer.SetEnabled(mediaPlayer);
    m_mediaPlayer.SetAnnounce([this] { RequestPoll(); });
}

void CNowPlayingWnd::RequestPoll() {
    // A burst of announcements (a player raises several for one change)
    // costs one poll: the announcements are read with it.
    if (m_bPollRequested)
        return;
    m_bPollRequested = ::PostMessageA(m_hWnd, WM_PLAYER_ANNOUNCED, 0, 0) != FALSE;
}

LRESULT CNowPlayingWnd::OnPlayerAnnounced(WPARAM, LPARAM) {
    m_bPollRequested = false;
    // Exactly what a poll tick does with the players, Winamp first, so an
    // announcement never lets one player's track push the other's aside.
    PollPlayers();
    return 0;
}

bool CNowPlayingWnd::TakeTrackFrom(ITrackSource& source) {
    std::optional<std::string> track = source.Poll();
    if (!track)
        return false;
    m_strTrack = std::move(*track);
    m_pSource = &source;
    return true;
}

void CNowPlayingWnd::PreviousTrack() {
    if (m_pShownSource)
        m_pShownSource->Previous();
}

void CNowPlayingWnd::NextTrack() {
    if (m_pShownSource)
        m_pShownSource->Next();
}

void CNowPlayingWnd::SearchLyrics() {
    // The track the pop-up shows: over a full-screen application a newer one
    // may have come without the pop-up switching to it.
    ::SearchLyrics(m_strShown);
}

// --- Tray commands -------------------------------------------------------------

void CNowPlayingWnd::OnPreferences() {
    if (m_bPrefsOpen)
        return; // already open: the tray menu still works while it runs
    m_bPrefsOpen = true;
    CPrefsDlg dialog;
    if (RunDialog(dialog) == IDOK) {
        // With no skin selected (the stored name matches no entry, say in
        // another letter case) the stored skin stays as it is.
        if (!dialog.m_strSkin.empty() &&
            dialog.m_strSkin != g_settingsIni.GetString(kPreferencesSection, kSkinKey)) {
            g_settingsIni.SetString(kPreferencesSection, kSkinKey, dialog.m_strSkin, true);
            LoadSkin();
            LayoutPopup();
            StartAnimation(m_animator.IsShown() ? AnimationRoutine::Switch
                                                : AnimationRoutine::Show);
        }
        // The player choices apply at once: a ticked player is watched from the
        // next poll on, an unticked media player lets go of its host.
        m_winamp.SetEnabled(dialog.m_bWinamp);
        m_mediaPlayer.SetEnabled(dialog.m_bMediaPlayer);
        g_settingsIni.SetInt(kPreferencesSection, kEnableWinampKey, dialog.m_bWinamp ? 1 : 0, true);
        g_settingsIni.SetInt(kPreferencesSection, kEnableWmpKey, dialog.m_bMediaPlayer ? 1 : 0,
                             true);
        g_settingsIni.Save();
    }
    m_bPrefsOpen = false;
}

void CNowPlayingWnd::OnAbout() {
    CAboutDlg about;
    RunDialog(about);
}

INT_PTR CNowPlayingWnd::RunDialog(CDialog& dialog) {
    ++m_nOpenDialogs;
    const INT_PTR result = dialog.DoModal();
    --m_nOpenDialogs;
    if (!m_bExitRequested)
        return result;
    // Exit was chosen while it was open: once the outermost dialog is
    // gone, the program ends as Exit always ends it.
    if (m_nOpenDialogs == 0)
        ::PostMessageA(m_hWnd, WM_COMMAND, ID_TRAY_EXIT, 0);
    return IDCANCEL;
}

namespace {
// Cancels each dialog of this thread that the user can see (Preferences,
// About, one opened from the other), except `keep`.
void CancelVisibleDialogs(HWND keep) {
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM keepWindow) -> BOOL {
            char className[8] = {};
            ::GetClassNameA(window, className, sizeof className);
            if (window != reinterpret_cast<HWND>(keepWindow) && ::IsWindowVisible(window) &&
                std::strcmp(className, "#32770") == 0)
                ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(keep));
}
} // namespace

void CNowPlayingWnd::OnExit() {
    if (m_bExiting)
        return;
    if (m_nOpenDialogs > 0) {
        // Chosen from the tray while a dialog runs its own loop: the dialogs
        // close first, then the exit goes on (see RunDialog).
        m_bExitRequested = true;
        CancelVisibleDialogs(m_hWnd);
        return;
    }
    m_bExiting = true;
    // No player is heard from any more.
    m_winamp.SetAnnounce(nullptr);
    m_mediaPlayer.SetAnnounce(nullptr);
    // Running animations end first. A thread may wait in a window move that
    // this thread has to carry out: only such sent messages are handled
    // meanwhile; timers, clicks and commands (a second Exit) wait, so nothing
    // of the program runs again while it is being taken down.
    m_animator.StopAndJoin([] {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
    });
    ReleaseSkinBitmaps();
    DestroyPlayerHost();
    m_tray.WithdrawIcon();
    CDialog::OnOK();
}

void CNowPlayingWnd::OnDestroy() {
    KillTimer(IDT_POLL);
    KillTimer(IDT_HIDE);
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

// --- What the animation threads do to the window ---------------------------

void CNowPlayingWnd::MoveWindow(const WindowStep& step, bool bringToTop) {
    UINT flags = SWP_NOACTIVATE;
    if (!bringToTop)
        flags |= SWP_NOZORDER;
    ::SetWindowPos(m_hWnd, nullptr, step.x, step.y, step.cx, step.cy, flags);
}

void CNowPlayingWnd::MoveWindowOrigin() {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect CNowPlayingWnd::GetWindowRect() {
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

void CNowPlayingWnd::StartHideTimer() {
    ::PostMessageA(m_hWnd, WM_HIDETIMER_REQUEST, 1, 0);
}

void CNowPlayingWnd::StopHideTimer() {
    ::PostMessageA(m_hWnd, WM_HIDETIMER_REQUEST, 0, 0);
}

void CNowPlayingWnd::Pause(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

int64_t CNowPlayingWnd::Now() {
    return static_cast<int64_t>(::GetTickCount64());
}

bool CNowPlayingWnd::LaunchThread(std::function<void()> routine) {
    return AfxBeginThread(std::move(routine));
}
