#include "players/Players.h"
#include "config/Settings.h"
#include "players/MediaPlayerSource.h"
#include "players/MediaSessionSource.h"
#include "players/WinampSource.h"

void RegisterPlayers(CPlayerWatch& watch, HWND owner) {
    // In the order they are asked: Winamp first, the media player when
    // Winamp has nothing new, then any other player Windows knows of.
    watch.Add(std::make_unique<CWinampSource>(), kEnableWinampKey);
    auto mediaPlayer = std::make_unique<CMediaPlayerSource>();
    mediaPlayer->SetOwner(owner);
    watch.Add(std::move(mediaPlayer), kEnableWmpKey);
    watch.Add(std::make_unique<CMediaSessionSource>(), kEnableMediaSessionsKey);
}

void WatchPlayersFromSettings(CPlayerWatch& watch) {
    for (const std::string& key : watch.Keys())
        watch.SetEnabled(key, g_settingsIni.GetInt(kPreferencesSection, key.c_str()) == 1);
}

void WatchPlayersAsChosen(CPlayerWatch& watch,
                          const std::vector<std::pair<std::string, bool>>& choices) {
    for (const auto& [key, watched] : choices) {
        watch.SetEnabled(key, watched);
        g_settingsIni.SetInt(kPreferencesSection, key.c_str(), watched ? 1 : 0, true);
    }
}
