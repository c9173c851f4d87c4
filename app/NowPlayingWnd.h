// CNowPlayingWnd: the program's main window, which is also the now-playing
// pop-up. Messages come in; the player watch, the pop-up view, the animator
// and the tray icon do the work.
#pragma once
#include "core/PopupAnimator.h"
#include "framework/AnimatedWindow.h"
#include "framework/Dialog.h"
#include "framework/ModalDialogs.h"
#include "players/PlayerWatch.h"
#include "shell/SystemTray.h"
#include "skin/PopupView.h"
#include <string>

constexpr UINT_PTR IDT_POLL = 0;
constexpr UINT_PTR IDT_HIDE = 1;
constexpr UINT kPollPeriodMs = 300;
constexpr UINT kHidePeriodMs = 500;
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;
// Posted by animation threads: the UI thread starts (wParam 1) or stops
// (wParam 0) the hide timer, since only a window's own thread may do that.
constexpr UINT WM_HIDETIMER_REQUEST = WM_APP + 1;
// Posted when a player announced a change: the UI thread asks the players as
// a poll tick does. At most one is waiting at any time.
constexpr UINT WM_PLAYER_ANNOUNCED = WM_APP + 2;

class CNowPlayingWnd : public CDialog {
  public:
    explicit CNowPlayingWnd(CWnd* parent);
    ~CNowPlayingWnd() override;

    // Wears the skin the settings name (the default one, stored, when none).
    void LoadSkin();
    // Lays the pop-up out for the track the watch says it shows.
    void LayoutPopup();
    // Shows the track the watch let through: grows in, or switches to it
    // when the pop-up is up.
    void ShowNewTrack();
    // Asks the players for a new track and brings it in (a poll tick).
    void PollPlayers();
    void SearchLyrics();
    // Starts an animation on a worker thread; false when none started.
    bool StartAnimation(AnimationRoutine routine);
    void SetHover(HoverValue value);
    // Takes the DPI of the pop-up's resting monitor: laid out anew, and a
    // pop-up that is up and still takes its new size at once.
    void ApplyDpi(int dpi);

    // Tray commands.
    void OnToggleNowPlaying();
    void OnPreferences();
    void OnAbout();
    void OnExit();

    CPlayerWatch& Watch() { return m_watch; }
    CPopupView& View() { return m_view; }
    const CPopupAnimator& Animator() const { return m_animator; }
    // The newest track's text, and a text of no player to show (tests).
    const std::string& TrackText() const { return m_watch.NewestTrack(); }
    void SetTrackText(const std::string& text) { m_watch.ShowText(text); }
    int LayoutDpi() const { return m_view.Dpi(); }
    // Paints the whole pop-up into `dc` (what WM_PAINT draws).
    void PaintPopup(HDC dc) const { m_view.Paint(dc); }

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override {} // neither Enter nor Esc closes the main window
    void OnCancel() override {}

    virtual void OnPaint();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    // The second press of a quick double click is a press like any other.
    void OnLButtonDblClk(UINT flags, POINT point) { OnLButtonDown(flags, point); }
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnHideTimerRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnPlayerAnnounced(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

  private:
    // Where the pop-up rests, in screen coordinates.
    POINT RestPoint() const;
    // The user is in a full-screen application on the pop-up's monitor and
    // the settings do not ask to show over it.
    bool StaysQuiet() const;

    HICON m_hIcon = nullptr;
    CSystemTray m_tray;
    CPopupView m_view;
    CPlayerWatch m_watch;
    CModalDialogs m_dialogs;
    bool m_bPrefsOpen = false;
    bool m_bExiting = false;
    CAnimatedWindow m_window{m_hWnd, WM_HIDETIMER_REQUEST};
    // Last, so it goes first: no animation outlives the fields it moves.
    CPopupAnimator m_animator{m_window};
};
