// CPlayerWatch: the players the pop-up watches, behind one interface. It asks
// them for a new track (when one announces a change, and on the fallback
// poll), decides which track the pop-up is to show — a new track is held back
// while the user is in a full-screen application — and sends Previous and
// Next to the player of the track the pop-up shows.
//
// Portable: the sources do the talking to the players.
#pragma once
#include "players/TrackSource.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CPlayerWatch {
  public:
    static constexpr int64_t kEchoMs = 5000;

    // `pollSoon` is called on the UI thread when a player announced a change
    // (at most once until the next Poll): the owner then polls. `staysQuiet`
    // says whether a new track is to be held back now; `now` reads a clock in
    // milliseconds.
    CPlayerWatch(std::function<void()> pollSoon, std::function<bool()> staysQuiet,
                 std::function<int64_t()> now);
    ~CPlayerWatch();
    CPlayerWatch(const CPlayerWatch&) = delete;
    CPlayerWatch& operator=(const CPlayerWatch&) = delete;

    // Watches `source`, switched on and off by the setting `key`. Sources are
    // asked in the order they were added; each starts switched off.
    void Add(std::unique_ptr<ITrackSource> source, std::string key);
    void SetEnabled(const std::string& key, bool enabled);
    bool IsEnabled(const std::string& key) const;
    // The settings keys of the sources, in their order.
    std::vector<std::string> Keys() const;

    // What a poll tick does: asks the sources in their order until one
    // reports a new track. True when the pop-up is to show it now (it is then
    // the shown track); a track held back stays the newest until shown. The
    // same artist and title from another player within kEchoMs of the newest
    // track is that track again (one song heard through two players): it
    // changes nothing.
    bool Poll();
    // The same, for the poll an announcement asked for: the next
    // announcement asks again.
    bool PollAnnounced();
    // Makes the newest track the one shown (the tray's show command).
    void ShowNewest();
    const std::string& NewestTrack() const { return m_newest.text; }
    const std::string& ShownTrack() const { return m_shown.text; }
    // Makes `text`, of no player, the newest and the shown track (tests).
    void ShowText(std::string text);

    // The player of the shown track; before any track nothing happens.
    void Previous();
    void Next();

    // At Exit: no player is heard from any more, and every source lets go
    // of its player.
    void Stop();

  private:
    struct Watched {
        std::unique_ptr<ITrackSource> source;
        std::string key;
    };
    struct Track {
        std::string text;
        ITrackSource* source = nullptr;
        int64_t at = 0; // when it was reported
    };
    bool IsEcho(const Track& track) const;
    Watched* Find(const std::string& key);
    const Watched* Find(const std::string& key) const;
    void Announced();

    std::function<void()> m_pollSoon;
    std::function<bool()> m_staysQuiet;
    std::function<int64_t()> m_now;
    std::vector<Watched> m_sources;
    Track m_newest; // the last track a player reported
    Track m_shown;  // the track the pop-up shows
    bool m_pollRequested = false;
};
