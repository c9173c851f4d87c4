#pragma once
// The track text of a Windows Media Player track.

#include "core/Mbcs.h"

#include <string>
#include <string_view>

// The player's name, shown as the last line of its tracks.
constexpr const char* kMediaPlayerName = "Windows Media Player";

// "author\nname\nWindows Media Player", at most 255 bytes so that it fits the
// title buffers. When it would be longer, author and name give way (each cut
// on a character boundary, a short one kept whole, two long ones sharing the
// room), so the last line is always the player's name.
std::string ComposeMediaText(std::string_view author, std::string_view name, CharRule rule);
