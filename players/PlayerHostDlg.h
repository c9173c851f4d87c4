// CPlayerHostDlg: the hidden window in which the media player control is
// embedded in remote mode, and the reads and commands that go through it.
// Everything here runs on the UI thread.
#pragma once
#include "framework/ComPtr.h"
#include <wmp.h>
#include <string>

// The media player control's class, as text for the hosting window.
constexpr const wchar_t kMediaPlayerClsid[] = L"{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

class CPlayerHostDlg {
  public:
    CPlayerHostDlg() = default;
    CPlayerHostDlg(const CPlayerHostDlg&) = delete;
    CPlayerHostDlg& operator=(const CPlayerHostDlg&) = delete;
    // Destroys the window if the owner has not.
    ~CPlayerHostDlg();

    // Makes the (never shown) host window from dialog 136 and embeds the
    // control in it. Returns the window, or null when making it failed; a
    // window whose control could not be made counts as not playing.
    HWND CreateHost(HWND parent, LPARAM init);
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

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnDestroy();
    ComPtr<IWMPControls> Controls();

    HWND m_hWnd = nullptr;
    HWND m_hwndControl = nullptr;
    ComPtr<IWMPPlayer4> m_spPlayer;
    std::string m_strText;
};
