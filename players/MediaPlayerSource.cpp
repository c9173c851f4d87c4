#include "players/MediaPlayerSource.h"
#include "players/PlayerConstants.h"
#include "players/PlayerHostDlg.h"
#include <algorithm>
#include <cstring>

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

    const std::string& text = m_pPlayerHost->ReadTrackText();
    // Playing without a current media: nothing to show.
    if (text.empty())
        return std::nullopt;
    // The composed text is already cut to fit the 256-byte buffers.
    const size_t length = std::min(text.size(), sizeof m_szTitle - 1);
    std::memcpy(m_szTitle, text.data(), length);
    m_szTitle[length] = '\0';
    if (std::strcmp(m_szTitle, m_szLastWmp) == 0)
        return std::nullopt;
    std::memcpy(m_szLastWmp, m_szTitle, sizeof m_szLastWmp);
    return std::string(m_szLastWmp);
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
