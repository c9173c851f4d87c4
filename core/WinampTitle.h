#pragma once
// Turning Winamp's main-window title into the pop-up's track text.

#include "core/Mbcs.h"

#include <cstddef>
#include <string>
#include <string_view>

// Title buffers hold 255 bytes and a NUL; longer titles are cut with
// CutText(title, kTitleBufferBytes - 1, lead).
constexpr size_t kTitleBufferBytes = 256;

// Paused, stopped and idle titles carry no playing track. The idle title is
// the player's name and version, so only a title that begins with "Winamp "
// counts as idle: a song whose name contains "Winamp " is still shown.
bool IsWinampTitleRejected(std::string_view title);

// "12. Artist - Song - Winamp" -> "Artist\nSong\nWinamp". Only a leading
// playlist number (digits, ".", and the one character after it) is removed,
// then the separators become line feeds.
std::string WinampTitleToTrack(std::string_view title, LeadByteTest lead);
