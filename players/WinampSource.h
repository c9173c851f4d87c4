// CWinampSource: Winamp, watched through the title of its main window. Each
// poll also follows that window with a hook on its title changes, which
// announce a new title without waiting for the next poll.
#pragma once
#include "core/WinampTitle.h"
#include "players/TrackSource.h"
#include "players/WinampWatch.h"

class CWinampSource : public ITrackSource {
  public:
    CWinampSource() : m_watch([this] { Announce(); }) {}

    // PollWinamp: reads Winamp's title and reports a new playing track.
    std::optional<std::string> Poll() override;
    void Previous() override;
    void Next() override;
    const char* Name() const override { return "Winamp"; }

    // The window whose title changes are heard (null: none), and whether a
    // hook is set for them.
    HWND WatchedWindow() const { return m_watch.Window(); }
    bool Hooked() const { return m_watch.Hooked(); }

  protected:
    void OnDisabled() override { m_watch.Follow(nullptr); }
    void OnAnnounceStopped() override { m_watch.Follow(nullptr); }

  private:
    void SendCommand(unsigned short command);

    CWinampWatch m_watch;
    std::string m_lastTitle; // the title of the last track reported
};
