// CNowPlayingWnd: the program's main window, which is also the now-playing
// pop-up. It polls the players, animates itself in and out, paints the skin
// and the track text, and carries out the tray menu's commands.
#pragma once
#include "app/PopupAnimator.h"
#include "app/PopupLayout.h"
#include "config/SkinInfo.h"
#include "framework/Dialog.h"
#include "shell/SystemTray.h"
#include <memory>
#include <string>

class CPlayerHostDlg;

enum HoverValue { HOVER_NONE = 0, HOVER_LYRICS = 1, HOVER_NEXT = 2, HOVER_PREVIOUS = 3 };

// Which player reported the current track. No track has been reported while
// it is SourceNone, and Previous and Next then do nothing.
enum TrackSource { SourceNone = -1, SourceWinamp = 0, SourceMediaPlayer = 1 };

constexpr UINT_PTR IDT_POLL = 0;
constexpr UINT_PTR IDT_HIDE = 1;
constexpr UINT kPollPeriodMs = 300;
constexpr UINT kHidePeriodMs = 500;
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;
// Posted by animation threads: the UI thread starts (wParam 1) or stops
// (wParam 0) the hide timer, since only a window's own thread may do that.
constexpr UINT WM_HIDETIMER_REQUEST = WM_APP + 1;

// Winamp's window class and its menu commands.
constexpr const char kWinampClass[] = "Winamp v1.x";
constexpr WPARAM kWinampPrevious = 40044;
constexpr WPARAM kWinampNext = 40048;
// The title of Windows Media Player's main window.
constexpr const char kMediaPlayerTitle[] = "Windows Media Player";

class CNowPlayingWnd : public CDialog, private IPopupWindow {
  public:
    explicit CNowPlayingWnd(CWnd* parent);
    ~CNowPlayingWnd() override;

    // Layout and painting.
    void LayoutPopup();
    // Skin.
    void LoadSkin();
    void ReleaseSkinBitmaps();
    // Player sources: true when a new track text was stored.
    bool PollWinamp();
    bool PollMediaPlayer();
    void DestroyPlayerHost();
    void PreviousTrack();
    void NextTrack();
    void SearchLyrics();
    // Behaviour.
    void SetHover(int value);
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

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    virtual void OnPaint();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnHideTimerRequest(WPARAM wParam, LPARAM lParam);
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

    void SendWinampCommand(WPARAM command);
    void MediaPlayerCommand(bool next);

    // Fields, in the order the rest of the program thinks of them.
    RECT m_rcLayout{};
    HICON m_hIcon = nullptr;
    CSystemTray m_tray;
    RECT m_rcText{};
    RECT m_rcPrev{};
    RECT m_rcNext{};
    RECT m_rcLyrics{};
    RECT m_rcCaption{};
    SkinInfo m_skin;
    bool m_bPrefsOpen = false;
    int m_nHover = HOVER_NONE;
    std::unique_ptr<CPlayerHostDlg> m_pPlayerHost; // while the media player's window is up
    std::string m_strTrack;
    int m_nSource = SourceNone;
    char m_szTitle[256] = {};
    char m_szLastWinamp[256] = {};
    char m_szLastWmp[256] = {};
    bool bEnableWinamp = false;
    bool bEnableWmp = false;

    // Last, so it goes first: no animation outlives the fields it moves.
    CPopupAnimator m_animator;
};
