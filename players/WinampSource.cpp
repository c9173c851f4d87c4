// The Winamp source: reads the title of Winamp's main window and turns a new
// playing track into the pop-up's text; sends Previous and Next to Winamp.
#include "players/WinampSource.h"
#include "framework/CodePage.h"
#include "players/PlayerConstants.h"
#include <windows.h>

namespace {
// The whole title, however long: what we keep is cut to 255 bytes on a
// character boundary with the title's player ending kept, so the ending must
// be read too.
std::string ReadTitle(HWND window) {
    // The length the A form reports may be in UTF-16 units: room for three
    // bytes each, and more while a read fills the buffer.
    const int length = ::GetWindowTextLengthA(window);
    std::string title(static_cast<size_t>(length > 0 ? length : 0) * 3 + 16, '\0');
    for (;;) {
        const int size = static_cast<int>(title.size());
        const int read = ::GetWindowTextA(window, title.data(), size);
        if (read < size - 1) {
            title.resize(read > 0 ? static_cast<size_t>(read) : 0);
            return title;
        }
        title.resize(title.size() * 2);
    }
}
// A hung Winamp must never freeze the pop-up.
constexpr UINT kCommandTimeoutMs = 2000;
} // namespace

std::optional<std::string> CWinampSource::Poll() {
    if (!IsEnabled())
        return std::nullopt;
    HWND winamp = ::FindWindowA(kWinampClass, nullptr);
    // The hook goes with the window: a Winamp that quit leaves none behind,
    // and a new one (of any process) is heard from its first title change.
    m_watch.Follow(Announces() ? winamp : nullptr);
    if (!winamp)
        return std::nullopt;

    std::string title = CutWinampTitle(ReadTitle(winamp), AnsiCharRule());
    if (IsWinampTitleRejected(title, AnsiCharRule()) || title == m_lastTitle)
        return std::nullopt;
    m_lastTitle = std::move(title);
    return WinampTitleToTrack(m_lastTitle, AnsiCharRule());
}

void CWinampSource::SendCommand(unsigned short command) {
    HWND winamp = ::FindWindowA(kWinampClass, nullptr);
    if (!winamp)
        return;
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(winamp, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, kCommandTimeoutMs,
                          &ignored);
}

void CWinampSource::Previous() {
    SendCommand(kWinampPrevious);
}

void CWinampSource::Next() {
    SendCommand(kWinampNext);
}
