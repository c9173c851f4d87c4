#include "core/WinampTitle.h"

namespace {

// Length of the leading playlist number with its "." and the character after
// it (normally a blank), or 0 when the title does not start with one.
size_t PlaylistNumberLength(std::string_view title, LeadByteTest lead) {
    size_t pos = 0;
    while (pos < title.size() && title[pos] >= '0' && title[pos] <= '9')
        ++pos;
    if (pos == 0 || pos == title.size() || title[pos] != '.')
        return 0;
    ++pos;
    if (pos == title.size())
        return pos;
    // A whole character goes, so no orphaned trail byte is left behind.
    return pos + CharLength(title, pos, lead);
}

} // namespace

bool IsWinampTitleRejected(std::string_view title) {
    return title.find(" [Paused]") != std::string_view::npos ||
           title.find(" [Stopped]") != std::string_view::npos || title.substr(0, 7) == "Winamp ";
}

std::string WinampTitleToTrack(std::string_view title, LeadByteTest lead) {
    const std::string_view rest = title.substr(PlaylistNumberLength(title, lead));
    const std::string named = ReplaceAllMbcs(rest, " - Winamp", "\nWinamp", lead);
    return ReplaceAllMbcs(named, " - ", "\n", lead);
}
