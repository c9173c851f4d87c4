#include "core/WinampTitle.h"

namespace {

constexpr std::string_view kPlayerSeparator = " - Winamp";

// Length of the leading playlist number with its "." and the character after
// it (normally a blank), or 0 when the title does not start with one.
size_t PlaylistNumberLength(std::string_view title, CharRule rule) {
    size_t pos = 0;
    while (pos < title.size() && title[pos] >= '0' && title[pos] <= '9')
        ++pos;
    if (pos == 0 || pos == title.size() || title[pos] != '.')
        return 0;
    ++pos;
    if (pos == title.size())
        return pos;
    // A whole character goes, so no orphaned trail byte is left behind.
    return pos + CharLength(title, pos, rule);
}

} // namespace

std::string CutWinampTitle(std::string_view title, CharRule rule) {
    constexpr size_t kMaxBytes = kTitleBufferBytes - 1;
    if (title.size() <= kMaxBytes)
        return std::string(title);
    const size_t ending = FindLastMbcs(title, kPlayerSeparator, rule);
    if (ending == std::string_view::npos || title.size() - ending > kMaxBytes)
        return CutText(title, kMaxBytes, rule);
    const std::string_view tail = title.substr(ending);
    return CutText(title.substr(0, ending), kMaxBytes - tail.size(), rule) + std::string(tail);
}

bool IsWinampTitleRejected(std::string_view title, CharRule rule) {
    return FindMbcs(title, " [Paused]", rule) != std::string_view::npos ||
           FindMbcs(title, " [Stopped]", rule) != std::string_view::npos ||
           title.substr(0, 7) == "Winamp ";
}

std::string WinampTitleToTrack(std::string_view title, CharRule rule) {
    const std::string_view rest = title.substr(PlaylistNumberLength(title, rule));
    const std::string named = ReplaceAllMbcs(rest, kPlayerSeparator, "\nWinamp", rule);
    return ReplaceAllMbcs(named, " - ", "\n", rule);
}
