#include "core/LyricsQuery.h"

std::string BuildLyricsQuery(std::string_view track, CharRule rule) {
    const size_t lastBreak = FindLastMbcs(track, "\n", rule);
    if (lastBreak == std::string_view::npos)
        return std::string();
    const std::string quoted = ReplaceAllMbcs(track.substr(0, lastBreak), "\n", "\" \"", rule);
    return "lyrics \"" + quoted + "\"";
}

std::string PercentEncode(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(utf8.size() * 3);
    for (char c : utf8) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                                byte == '_' || byte == '~';
        if (unreserved) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string BuildLyricsUrl(std::string_view utf8Query) {
    if (utf8Query.empty())
        return std::string();
    return kLyricsSearchBase + PercentEncode(utf8Query);
}
