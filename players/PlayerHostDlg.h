// CPlayerHostDlg: the hidden dialog (template 136) in which the media player
// control is embedded in remote mode, and the reads and commands that go
// through it. Everything here runs on the UI thread.
#pragma once
#include "framework/ComPtr.h"
#include "framework/Dialog.h"
#include <ocidl.h>
#include <wmp.h>
#include <functional>
#include <string>

class CPlayerEvents;
struct IAxWinHostWindow;

class CPlayerHostDlg : public CDialog {
  public:
    CPlayerHostDlg();
    ~CPlayerHostDlg() override;

    // Makes the (never shown) host window owned by `owner` and embeds the
    // control in it. Returns the window, or null when making it failed; a
    // window whose control could not be made counts as not playing.
    // `changed`, when given, is called whenever the control fires a new play
    // state, current item or media; a control without these events is
    // embedded all the same.
    HWND CreateHost(HWND owner, std::function<void()> changed = nullptr);
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool HasPlayer() const { return static_cast<bool>(m_spPlayer); }

    // True only while the player reports the playing state.
    bool IsPlaying();
    // Composes "author\nname\nWindows Media Player" from the current media.
    // Empty when the player has no current media, so the caller can tell
    // that there is nothing to show.
    const std::string& ReadTrackText();
    // The player's Previous and Next; results are ignored.
    void Previous();
    void Next();
    // Stops passing the control's events on.
    void StopEvents();

  protected:
    BOOL OnInitDialog() override;
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    void EmbedPlayer();
    HRESULT CreatePlayer(IAxWinHostWindow& host);
    void ConnectEvents();
    ComPtr<IWMPControls> Controls();

    HWND m_hwndControl = nullptr;
    ComPtr<IWMPPlayer4> m_spPlayer;
    std::function<void()> m_changed;
    ComPtr<CPlayerEvents> m_spEvents; // connected to the control while it lives
    ComPtr<IConnectionPoint> m_spEventPoint;
    DWORD m_dwEventCookie = 0;
    std::string m_strText;
};
