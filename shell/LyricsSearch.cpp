#include "shell/LyricsSearch.h"
#include "core/LyricsQuery.h"
#include "framework/CodePage.h"
#include <windows.h>
#include <shellapi.h>

void SearchLyrics(const std::string& track) {
    const std::string query = BuildLyricsQuery(track, AnsiCharRule());
    if (query.empty())
        return; // no track shown yet: nothing to search for
    // The search engine expects UTF-8 (a no-op where that is the code page).
    const std::string url = BuildLyricsUrl(AnsiToUtf8(query));
    if (url.empty())
        return;
    ::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
}
