// The Winamp source: reads the title of Winamp's main window and turns a new
// playing track into the pop-up's text; sends Previous and Next to Winamp.
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"
#include "players/WinampTitle.h"
#include <cstring>

namespace {
// Long enough for any title we care about; what we keep is cut to 255 bytes
// at a character boundary.
constexpr int kReadBufferBytes = 1024;
// A hung Winamp must never freeze the pop-up.
constexpr UINT kCommandTimeoutMs = 2000;
} // namespace

bool CNowPlayingWnd::PollWinamp() {
    if (!bEnableWinamp)
        return false;
    HWND winamp = ::FindWindowA(kWinampClass, nullptr);
    if (!winamp)
        return false;

    char title[kReadBufferBytes];
    const int length = ::GetWindowTextA(winamp, title, kReadBufferBytes);
    const std::string cut = CutText(std::string_view(title, length > 0 ? length : 0),
                                    kTitleBufferBytes - 1, AnsiLeadByte);
    std::memcpy(m_szTitle, cut.c_str(), cut.size() + 1);

    if (IsWinampTitleRejected(m_szTitle))
        return false;
    if (std::strcmp(m_szTitle, m_szLastWinamp) == 0)
        return false;
    std::memcpy(m_szLastWinamp, m_szTitle, sizeof m_szLastWinamp);
    m_strTrack = WinampTitleToTrack(m_szLastWinamp, AnsiLeadByte);
    m_nSource = SourceWinamp;
    return true;
}

void CNowPlayingWnd::SendWinampCommand(WPARAM command) {
    HWND winamp = ::FindWindowA(kWinampClass, nullptr);
    if (!winamp)
        return;
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(winamp, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, kCommandTimeoutMs,
                          &ignored);
}

void CNowPlayingWnd::PreviousTrack() {
    if (m_nSource == SourceWinamp)
        SendWinampCommand(kWinampPrevious);
    else if (m_nSource == SourceMediaPlayer)
        MediaPlayerCommand(false);
}

void CNowPlayingWnd::NextTrack() {
    if (m_nSource == SourceWinamp)
        SendWinampCommand(kWinampNext);
    else if (m_nSource == SourceMediaPlayer)
        MediaPlayerCommand(true);
}
