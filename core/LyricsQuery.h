#pragma once
// The lyrics search: from the track text to the search engine's URL.

#include "core/Mbcs.h"

#include <string>
#include <string_view>

constexpr const char* kLyricsSearchBase =
    "https://www.google.com/search?&hl=en&ie=UTF-8&oe=UTF-8&q=";

// `lyrics "Artist" "Song"` from "Artist\nSong\nWinamp": the last line (the
// player's name) goes, the other lines are quoted. Works on the text in the
// code page in force, stepping by its characters.
// Empty when the track has no line feed: there is nothing to search for.
std::string BuildLyricsQuery(std::string_view track, CharRule rule);

// Every byte outside A-Z a-z 0-9 - . _ ~ as %XX (upper-case hex), so that no
// character of the query can end the parameter or break out of the URL.
std::string PercentEncode(std::string_view utf8);

// kLyricsSearchBase followed by the encoded query; empty for an empty query.
std::string BuildLyricsUrl(std::string_view utf8Query);
