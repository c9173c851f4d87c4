// The players Trackglow can watch, each registered with the watch under the
// setting that switches it on. A new player is a source and a line here.
#pragma once
#include "players/PlayerWatch.h"
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

// `owner` owns the hidden windows a source may need (the media player's host).
void RegisterPlayers(CPlayerWatch& watch, HWND owner);

// Switches each player on or off as the settings say (1: watched; missing
// or anything else: not).
void WatchPlayersFromSettings(CPlayerWatch& watch);
// Switches the players as chosen (settings key, watched) and stores the
// choices (0 or 1) in the settings, without saving them.
void WatchPlayersAsChosen(CPlayerWatch& watch,
                          const std::vector<std::pair<std::string, bool>>& choices);
