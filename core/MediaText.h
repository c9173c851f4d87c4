#pragma once
// The track text of a Windows Media Player track.

#include "core/Mbcs.h"

#include <string>
#include <string_view>

// The player's name, shown as the last line of its tracks.
constexpr const char* kMediaPlayerName = "Windows Media Player";

// "author\nname\nWindows Media Player", cut to 255 bytes so that it fits the
// title buffers, never inside a double-byte character.
std::string ComposeMediaText(std::string_view author, std::string_view name, LeadByteTest lead);
