// The Windows Media Player source: while the player's window is up, its
// control is embedded in remote mode in a hidden host window, through which
// the playing media's author and name are read.
#include "app/NowPlayingWnd.h"
#include "players/PlayerHostDlg.h"
#include <algorithm>
#include <cstring>

bool CNowPlayingWnd::PollMediaPlayer() {
    if (!bEnableWmp)
        return false;
    HWND player = ::FindWindowA(nullptr, kMediaPlayerTitle);
    if (!::IsWindow(player) || !::IsWindowVisible(player)) {
        DestroyPlayerHost();
        return false;
    }
    if (!m_pPlayerHost) {
        // Made once per appearance of the player's window, whether or not
        // the control could be embedded; no retry until the window goes.
        m_pPlayerHost = std::make_unique<CPlayerHostDlg>();
        m_pPlayerHost->CreateHost(m_hWnd, 0);
    }
    if (!m_pPlayerHost->IsPlaying())
        return false;

    const std::string& text = m_pPlayerHost->ReadTrackText();
    // Playing without a current media: nothing to show.
    if (text.empty())
        return false;
    // The composed text is already cut to fit the 256-byte buffers.
    const size_t length = std::min(text.size(), sizeof m_szTitle - 1);
    std::memcpy(m_szTitle, text.data(), length);
    m_szTitle[length] = '\0';
    if (std::strcmp(m_szTitle, m_szLastWmp) == 0)
        return false;
    std::memcpy(m_szLastWmp, m_szTitle, sizeof m_szLastWmp);
    m_strTrack = m_szLastWmp;
    m_nSource = SourceMediaPlayer;
    return true;
}

void CNowPlayingWnd::DestroyPlayerHost() {
    if (!m_pPlayerHost)
        return;
    // The window's teardown releases the control and its site.
    if (HWND host = m_pPlayerHost->GetSafeHwnd())
        ::DestroyWindow(host);
    m_pPlayerHost.reset();
}

void CNowPlayingWnd::MediaPlayerCommand(bool next) {
    if (!m_pPlayerHost)
        return;
    if (next)
        m_pPlayerHost->Next();
    else
        m_pPlayerHost->Previous();
}
