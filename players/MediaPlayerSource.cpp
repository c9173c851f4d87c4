#include "players/MediaPlayerSource.h"
#include "players/PlayerConstants.h"
#include "players/PlayerHostDlg.h"

CMediaPlayerSource::CMediaPlayerSource() = default;

CMediaPlayerSource::~CMediaPlayerSource() {
    DestroyPlayerHost();
}

const char* CMediaPlayerSource::Name() const {
    return kMediaPlayerName;
}

std::optional<std::string> CMediaPlayerSource::Poll() {
    if (!IsEnabled())
        return std::nullopt;
    HWND player = ::FindWindowA(nullptr, kMediaPlayerTitle);
    if (!::IsWindow(player) || !::IsWindowVisible(player)) {
        DestroyPlayerHost();
        return std::nullopt;
    }
    if (!m_pPlayerHost) {
        // Made once per appearance of the player's window, whether or not
        // the control could be embedded; no retry until the window goes.
        m_pPlayerHost = std::make_unique<CPlayerHostDlg>();
        std::function<void()> changed;
        if (Announces())
            changed = [this] { Announce(); };
        m_pPlayerHost->CreateHost(m_hwndOwner, std::move(changed));
    }
    if (!m_pPlayerHost->IsPlaying())
        return std::nullopt;

    // The composed text is already cut to its 255 bytes. Playing without a
    // current media: nothing to show.
    const std::string& text = m_pPlayerHost->ReadTrackText();
    if (text.empty() || text == m_lastText)
        return std::nullopt;
    m_lastText = text;
    return m_lastText;
}

void CMediaPlayerSource::DestroyPlayerHost() {
    // The window's teardown disconnects and releases the control and its
    // site; only then does the object go.
    if (m_pPlayerHost)
        m_pPlayerHost->DestroyWindow();
    m_pPlayerHost.reset();
}

void CMediaPlayerSource::OnAnnounceStopped() {
    if (m_pPlayerHost)
        m_pPlayerHost->StopEvents();
}

void CMediaPlayerSource::Previous() {
    if (m_pPlayerHost)
        m_pPlayerHost->Previous();
}

void CMediaPlayerSource::Next() {
    if (m_pPlayerHost)
        m_pPlayerHost->Next();
}
