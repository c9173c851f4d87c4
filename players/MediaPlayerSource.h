// CMediaPlayerSource: Windows Media Player. While the player's window is up,
// its control is embedded in remote mode in a hidden host window, through
// which the playing media's author and name are read; the control's events
// announce a new play state or media between polls.
#pragma once
#include "players/TrackSource.h"
#include <memory>
#include <string>
#include <windows.h>

class CPlayerHostDlg;

class CMediaPlayerSource : public ITrackSource {
  public:
    CMediaPlayerSource();
    ~CMediaPlayerSource() override;

    // The window that owns the hidden host window.
    void SetOwner(HWND owner) { m_hwndOwner = owner; }

    // PollMediaPlayer: reports a new playing track of the player.
    std::optional<std::string> Poll() override;
    void Previous() override;
    void Next() override;
    const char* Name() const override;

    // Releases the control and destroys the host window, if any.
    void DestroyPlayerHost();
    const CPlayerHostDlg* PlayerHost() const { return m_pPlayerHost.get(); }

  protected:
    void OnDisabled() override { DestroyPlayerHost(); }
    void OnAnnounceStopped() override;

  private:
    HWND m_hwndOwner = nullptr;
    std::unique_ptr<CPlayerHostDlg> m_pPlayerHost; // while the player's window is up
    std::string m_lastText;                        // the last track reported
};
