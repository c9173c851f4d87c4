// The Lyrics button: a web search for a track's lyrics in the user's browser.
#pragma once
#include <string>

// Opens the search for `track` (the pop-up's text); nothing for an empty text.
void SearchLyrics(const std::string& track);
