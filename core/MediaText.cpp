#include "core/MediaText.h"

#include "core/WinampTitle.h"

#include <algorithm>
#include <cctype>
#include <cstring>

std::string ComposeMediaText(std::string_view author, std::string_view name, CharRule rule) {
    return ComposeTrackText(author, name, kMediaPlayerName, rule);
}

std::string ComposeTrackText(std::string_view author, std::string_view name,
                             std::string_view player, CharRule rule) {
    const std::string keptPlayer = CutText(player, (kTitleBufferBytes - 1) / 3, rule);
    // Room for author and name beside the two line feeds and the player's line.
    const size_t room = kTitleBufferBytes - 1 - 2 - keptPlayer.size();
    std::string keptAuthor(author), keptName(name);
    if (author.size() + name.size() > room) {
        // The author keeps at least half the room, or all that a short name leaves.
        const size_t authorRoom = std::max(room / 2, room - std::min(name.size(), room));
        keptAuthor = CutText(author, authorRoom, rule);
        keptName = CutText(name, room - keptAuthor.size(), rule);
    }
    std::string text;
    text.reserve(kTitleBufferBytes);
    text.append(keptAuthor).append("\n").append(keptName).append("\n").append(keptPlayer);
    return text;
}

std::string PlayerNameFromAppId(std::string_view appId, CharRule rule) {
    constexpr std::string_view kExe = ".exe";
    // The folder ends at the last separator that is a character of its own;
    // the ".exe" must start a character too (in a double-byte code page a
    // separator or "." can be the trail byte of the character before it).
    const size_t exeAt = appId.size() >= kExe.size() ? appId.size() - kExe.size() : appId.npos;
    size_t start = 0;
    bool exeStartsCharacter = false;
    for (size_t pos = 0; pos < appId.size(); pos += CharLength(appId, pos, rule)) {
        if (appId[pos] == '\\' || appId[pos] == '/')
            start = pos + 1;
        exeStartsCharacter = exeStartsCharacter || pos == exeAt;
    }
    size_t end = appId.size();
    if (exeStartsCharacter && exeAt > start) {
        bool exe = true;
        for (size_t i = 0; exe && i < kExe.size(); ++i)
            exe = std::tolower(static_cast<unsigned char>(appId[exeAt + i])) == kExe[i];
        if (exe)
            end = exeAt;
    }
    return std::string(appId.substr(start, end - start));
}
