// ITrackSource: one player the pop-up watches. The window asks each enabled
// source in turn on every poll tick and keeps the one that reported the
// shown track, to which Previous and Next then go.
#pragma once
#include <optional>
#include <string>

class ITrackSource {
  public:
    virtual ~ITrackSource() = default;

    // The text of a track the player moved to since it last reported one
    // ("artist\ntitle\nplayer"), or nothing. A disabled source reports nothing.
    virtual std::optional<std::string> Poll() = 0;
    // The player's own Previous and Next; they never block for long.
    virtual void Previous() = 0;
    virtual void Next() = 0;
    // The player's name, the last line of its tracks.
    virtual const char* Name() const = 0;

    void SetEnabled(bool enabled) {
        m_bEnabled = enabled;
        if (!enabled)
            OnDisabled();
    }
    bool IsEnabled() const { return m_bEnabled; }

  protected:
    // Lets go of whatever the source holds of its player.
    virtual void OnDisabled() {}

  private:
    bool m_bEnabled = false;
};
