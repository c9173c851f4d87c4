#include "core/MediaText.h"

#include "core/WinampTitle.h"

#include <algorithm>
#include <cstring>

std::string ComposeMediaText(std::string_view author, std::string_view name, CharRule rule) {
    // Room for author and name beside the two line feeds and the player's line.
    const size_t room = kTitleBufferBytes - 1 - 2 - std::strlen(kMediaPlayerName);
    std::string keptAuthor(author), keptName(name);
    if (author.size() + name.size() > room) {
        // The author keeps at least half the room, or all that a short name leaves.
        const size_t authorRoom = std::max(room / 2, room - std::min(name.size(), room));
        keptAuthor = CutText(author, authorRoom, rule);
        keptName = CutText(name, room - keptAuthor.size(), rule);
    }
    std::string text;
    text.reserve(kTitleBufferBytes);
    text.append(keptAuthor).append("\n").append(keptName).append("\n").append(kMediaPlayerName);
    return text;
}
