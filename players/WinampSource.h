// CWinampSource: Winamp, watched through the title of its main window.
#pragma once
#include "core/WinampTitle.h"
#include "players/TrackSource.h"

class CWinampSource : public ITrackSource {
  public:
    // PollWinamp: reads Winamp's title and reports a new playing track.
    std::optional<std::string> Poll() override;
    void Previous() override;
    void Next() override;
    const char* Name() const override { return "Winamp"; }

  private:
    void SendCommand(unsigned short command);

    char m_szTitle[kTitleBufferBytes] = {};
    char m_szLastWinamp[kTitleBufferBytes] = {};
};
