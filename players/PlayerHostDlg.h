// CPlayerHostDlg: the hidden dialog (template 136) in which the media player
// control is embedded in remote mode, and the reads and commands that go
// through it. Everything here runs on the UI thread.
#pragma once
#include "framework/ComPtr.h"
#include "framework/Dialog.h"
#include <wmp.h>
#include <string>

class CPlayerHostDlg : public CDialog {
  public:
    CPlayerHostDlg();

    // Makes the (never shown) host window owned by `owner` and embeds the
    // control in it. Returns the window, or null when making it failed; a
    // window whose control could not be made counts as not playing.
    HWND CreateHost(HWND owner);
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

  protected:
    BOOL OnInitDialog() override;
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    void EmbedPlayer();
    ComPtr<IWMPControls> Controls();

    HWND m_hwndControl = nullptr;
    ComPtr<IWMPPlayer4> m_spPlayer;
    std::string m_strText;
};
