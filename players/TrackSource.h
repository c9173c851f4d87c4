// ITrackSource: one player the pop-up watches. The window asks each enabled
// source in turn on every poll tick and keeps the one that reported the
// shown track, to which Previous and Next then go. A player that announces
// its changes lets the source call for a poll at once.
#pragma once
#include <functional>
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

    // Called on the UI thread whenever the player announces that its track
    // may have changed: the owner then asks the sources as a poll tick does.
    // An empty function stops the announcements.
    void SetAnnounce(std::function<void()> announce) {
        m_announce = std::move(announce);
        if (!m_announce)
            OnAnnounceStopped();
    }

  protected:
    // Lets go of whatever the source holds of its player.
    virtual void OnDisabled() {}
    // Lets go of whatever listens to the player's announcements.
    virtual void OnAnnounceStopped() {}
    bool Announces() const { return static_cast<bool>(m_announce); }
    void Announce() const {
        if (m_announce)
            m_announce();
    }

  private:
    bool m_bEnabled = false;
    std::function<void()> m_announce;
};
