#include "players/PlayerWatch.h"
#include <string_view>

namespace {
// "artist\ntitle" of a track's text, without the player's line.
std::string_view Song(std::string_view text) {
    const size_t artistEnd = text.find('\n');
    const size_t titleEnd =
        artistEnd == std::string_view::npos ? artistEnd : text.find('\n', artistEnd + 1);
    return text.substr(0, titleEnd);
}
} // namespace

CPlayerWatch::CPlayerWatch(std::function<void()> pollSoon, std::function<bool()> staysQuiet,
                           std::function<int64_t()> now)
    : m_pollSoon(std::move(pollSoon)), m_staysQuiet(std::move(staysQuiet)), m_now(std::move(now)) {}

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
        if (std::optional<std::string> text = watched.source->Poll()) {
            Track track{std::move(*text), watched.source.get(), m_now ? m_now() : 0};
            if (IsEcho(track))
                continue;
            m_newest = std::move(track);
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

bool CPlayerWatch::IsEcho(const Track& track) const {
    // Unsigned difference: a clock that wrapped or went back is no echo.
    const uint64_t since = static_cast<uint64_t>(track.at) - static_cast<uint64_t>(m_newest.at);
    return m_newest.source && track.source != m_newest.source &&
           since < static_cast<uint64_t>(kEchoMs) && Song(track.text) == Song(m_newest.text);
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
