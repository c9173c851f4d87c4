#include "players/PlayerWatch.h"

CPlayerWatch::CPlayerWatch(std::function<void()> pollSoon, std::function<bool()> staysQuiet)
    : m_pollSoon(std::move(pollSoon)), m_staysQuiet(std::move(staysQuiet)) {}

CPlayerWatch::~CPlayerWatch() {
    Stop();
}

void CPlayerWatch::Add(std::unique_ptr<ITrackSource> source, std::string key) {
    source->SetAnnounce([this] { Announced(); });
    m_sources.push_back(Watched{std::move(source), std::move(key)});
}

CPlayerWatch::Watched* CPlayerWatch::Find(const std::string& key) {
    for (Watched& watched : m_sources) {
        if (watched.key == key)
            return &watched;
    }
    return nullptr;
}

const CPlayerWatch::Watched* CPlayerWatch::Find(const std::string& key) const {
    return const_cast<CPlayerWatch*>(this)->Find(key);
}

void CPlayerWatch::SetEnabled(const std::string& key, bool enabled) {
    if (Watched* watched = Find(key))
        watched->source->SetEnabled(enabled);
}

bool CPlayerWatch::IsEnabled(const std::string& key) const {
    const Watched* watched = Find(key);
    return watched && watched->source->IsEnabled();
}

std::vector<std::string> CPlayerWatch::Keys() const {
    std::vector<std::string> keys;
    for (const Watched& watched : m_sources)
        keys.push_back(watched.key);
    return keys;
}

void CPlayerWatch::Announced() {
    // A burst of announcements (a player raises several for one change)
    // costs one poll: the announcements are read with it.
    if (m_pollRequested || !m_pollSoon)
        return;
    m_pollRequested = true;
    m_pollSoon();
}

bool CPlayerWatch::PollAnnounced() {
    m_pollRequested = false;
    return Poll();
}

bool CPlayerWatch::Poll() {
    // The first source with news wins the round, so one player's track
    // never pushes aside another's in the same tick.
    for (Watched& watched : m_sources) {
        if (std::optional<std::string> track = watched.source->Poll()) {
            m_newest = Track{std::move(*track), watched.source.get()};
            // Over a game, a film or a slide show nothing moves: the track
            // is kept for the show command; the next one shows as usual.
            if (m_staysQuiet && m_staysQuiet())
                return false;
            ShowNewest();
            return true;
        }
    }
    return false;
}

void CPlayerWatch::ShowNewest() {
    m_shown = m_newest;
}

void CPlayerWatch::ShowText(std::string text) {
    m_newest = Track{std::move(text), nullptr};
    m_shown = m_newest;
}

void CPlayerWatch::Previous() {
    if (m_shown.source)
        m_shown.source->Previous();
}

void CPlayerWatch::Next() {
    if (m_shown.source)
        m_shown.source->Next();
}

void CPlayerWatch::Stop() {
    m_pollSoon = nullptr;
    for (Watched& watched : m_sources) {
        watched.source->SetAnnounce(nullptr);
        watched.source->SetEnabled(false);
    }
}
