#pragma once
// The track text of a media player's track: Windows Media Player, or an app
// that publishes what it plays to Windows' media sessions.

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

// "author\nname\nplayer" under the same rule. A player's name longer than a
// third of the buffer is cut first, so author and name always keep room.
std::string ComposeTrackText(std::string_view author, std::string_view name,
                             std::string_view player, CharRule rule);

// The name an app id stands for when Windows gives no display name: the id
// without its folder and without an ending ".exe" (any letter case);
// C:\Apps\Player.EXE gives "Player". An id that is nothing but an
// ".exe" keeps it.
std::string PlayerNameFromAppId(std::string_view appId, CharRule rule);
