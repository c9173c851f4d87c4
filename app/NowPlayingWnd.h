// CNowPlayingWnd: the program's main window, which is also the now-playing
// pop-up. It polls the players, animates itself in and out, paints the skin
// and the track text, and carries out the tray menu's commands.
#pragma once
#include "core/PopupAnimator.h"
#include "core/PopupLayout.h"
#include "framework/Dialog.h"
#include "players/MediaPlayerSource.h"
#include "players/WinampSource.h"
#include "shell/SystemTray.h"
#include "skin/SkinInfo.h"
#include <string>

enum HoverValue { HOVER_NONE = 0, HOVER_LYRICS = 1, HOVER_NEXT = 2, HOVER_PREVIOUS = 3 };

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

class CNowPlayingWnd : public CDialog, private IPopupWindow {
  public:
    explicit CNowPlayingWnd(CWnd* parent);
    ~CNowPlayingWnd() override;

    // Layout and painting.
    void LayoutPopup();
    // Skin.
    void LoadSkin();
    void ReleaseSkinBitmaps();
    // Which players to watch (the settings' switches). Each watched player
    // may also announce its changes between polls.
    void WatchPlayers(bool winamp, bool mediaPlayer);
    // Player sources: true when a new track text was stored.
    bool PollWinamp() { return TakeTrackFrom(m_winamp); }
    bool PollMediaPlayer() { return TakeTrackFrom(m_mediaPlayer); }
    void DestroyPlayerHost() { m_mediaPlayer.DestroyPlayerHost(); }
    // Previous and Next go to the player of the track the pop-up shows;
    // before any track was reported they do nothing.
    void PreviousTrack();
    void NextTrack();
    // Searches the lyrics of the track the pop-up shows.
    void SearchLyrics();
    // Behaviour.
    // Asks the players for a new track and brings it in (what a poll tick does).
    void PollPlayers();
    // Lays the pop-up out for the new track text and shows it, or switches to
    // it when the pop-up is up; over a full-screen application it only keeps
    // the track (unless the settings ask to show over those too).
    void ShowNewTrack();
    void SetHover(HoverValue value);
    // Starts an animation on a worker thread; false when none started.
    bool StartAnimation(AnimationRoutine routine);

    // Tray commands.
    void OnToggleNowPlaying();
    void OnPreferences();
    void OnAbout();
    void OnExit();

    const std::string& TrackText() const { return m_strTrack; }
    // Replaces the text the pop-up shows, without a player (for tests).
    void SetTrackText(const std::string& text) { m_strTrack = text; }
    const CPopupAnimator& Animator() const { return m_animator; }
    // Paints the whole pop-up into `dc` (what WM_PAINT draws).
    void PaintPopup(HDC dc) const;
    // The DPI the pop-up is laid out for: that of the monitor it shows on.
    int LayoutDpi() const { return m_nDpi; }
    // Takes the DPI of the pop-up's monitor and lays the shown text out for it;
    // a pop-up that is up and still takes its new size at once.
    void ApplyDpi(int dpi);

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    virtual void OnPaint();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    // The second press of a quick double click arrives as a double click: it
    // is a press like any other (two quick clicks on Next skip two tracks).
    void OnLButtonDblClk(UINT flags, POINT point) { OnLButtonDown(flags, point); }
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnHideTimerRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnPlayerAnnounced(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    // IPopupWindow: what the animation threads do to the window.
    void MoveWindow(const WindowStep& step, bool bringToTop) override;
    void MoveWindowOrigin() override;
    Rect GetWindowRect() override;
    void StartHideTimer() override;
    void StopHideTimer() override;
    void Pause(int milliseconds) override;
    int64_t Now() override;
    bool LaunchThread(std::function<void()> routine) override;

    // Stores the source's new track, if it reports one.
    bool TakeTrackFrom(ITrackSource& source);
    // A player announced a change: one poll soon, however many announce it.
    void RequestPoll();
    // Lays the pop-up out for `text` at the current DPI; the pop-up then shows it.
    void LayoutText(std::string text);
    // Where the pop-up rests, in screen coordinates.
    POINT RestPoint() const;
    // The user is in a full-screen application on the pop-up's monitor and
    // the settings do not ask to show over it.
    bool StaysQuiet() const;
    // Runs a dialog modally; an Exit chosen meanwhile closes it and then
    // ends the program (the result is then IDCANCEL).
    INT_PTR RunDialog(CDialog& dialog);

    // Fields, in the order the rest of the program thinks of them.
    RECT m_rcLayout{};
    int m_nDpi = kDefaultDpi;              // the DPI of m_rcLayout and the rectangles below
    int m_nBaseWidth = kInitialPopupWidth; // m_rcLayout's width at 96 DPI
    HICON m_hIcon = nullptr;
    CSystemTray m_tray;
    RECT m_rcText{};
    RECT m_rcPrev{};
    RECT m_rcNext{};
    RECT m_rcLyrics{};
    RECT m_rcCaption{};
    SkinInfo m_skin;
    bool m_bPrefsOpen = false;
    HoverValue m_nHover = HOVER_NONE;
    std::string m_strTrack;
    std::string m_strShown; // the text the layout was made for, which the pop-up paints
    CWinampSource m_winamp;
    CMediaPlayerSource m_mediaPlayer;       // owns the player's host window while it is up
    ITrackSource* m_pSource = nullptr;      // the player that reported m_strTrack
    ITrackSource* m_pShownSource = nullptr; // the player of the track the pop-up shows
    int m_nOpenDialogs = 0;                 // Preferences or About running modally
    bool m_bExitRequested = false;          // Exit chosen while a dialog was open
    bool m_bExiting = false;
    bool m_bPollRequested = false; // a WM_PLAYER_ANNOUNCED is on its way

    // Last, so it goes first: no animation outlives the fields it moves.
    CPopupAnimator m_animator;
};
