#pragma once
// Turning Winamp's main-window title into the pop-up's track text.

#include "core/Mbcs.h"

#include <cstddef>
#include <string>
#include <string_view>

// Title buffers hold 255 bytes and a NUL; longer titles are cut with
// CutWinampTitle.
constexpr size_t kTitleBufferBytes = 256;

// A title that fits the buffers: at most 255 bytes, cut on a character
// boundary. A longer title keeps its ending from the last " - Winamp" on
// (" - Winamp", " - Winamp [Paused]"), and the text before it gives way, so
// a long title still ends in the player's line and its state stays visible.
std::string CutWinampTitle(std::string_view title, CharRule rule);

// Paused, stopped and idle titles carry no playing track. The idle title is
// the player's name and version, so only a title that begins with "Winamp "
// counts as idle: a song whose name contains "Winamp " is still shown.
bool IsWinampTitleRejected(std::string_view title, CharRule rule);

// "12. Artist - Song - Winamp" -> "Artist\nSong\nWinamp". Only a leading
// playlist number (digits, ".", and the one character after it) is removed,
// then the separators become line feeds.
std::string WinampTitleToTrack(std::string_view title, CharRule rule);
