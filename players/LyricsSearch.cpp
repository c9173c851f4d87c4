// The Lyrics button: a web search for the shown track's lyrics, opened in the
// user's browser.
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"
#include "players/LyricsQuery.h"
#include <shellapi.h>
#include <vector>

namespace {

// The search engine expects UTF-8; the track text is in the ANSI code page.
std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty())
        return {};
    const int wideLength =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (wideLength <= 0)
        return {};
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                          wideLength);
    const int utf8Length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0)
        return {};
    std::string utf8(static_cast<size_t>(utf8Length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr,
                          nullptr);
    return utf8;
}

} // namespace

void CNowPlayingWnd::SearchLyrics() {
    const std::string query = BuildLyricsQuery(m_strTrack, AnsiLeadByte);
    if (query.empty())
        return; // no track shown yet: nothing to search for
    const std::string url = BuildLyricsUrl(AnsiToUtf8(query));
    if (url.empty())
        return;
    ::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
}
