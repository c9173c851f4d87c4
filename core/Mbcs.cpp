#include "core/Mbcs.h"

bool NoLeadBytes(unsigned char) {
    return false;
}

size_t CharLength(std::string_view text, size_t pos, LeadByteTest lead) {
    if (pos + 1 < text.size() && lead(static_cast<unsigned char>(text[pos])))
        return 2;
    return 1;
}

size_t FindMbcs(std::string_view text, std::string_view needle, LeadByteTest lead, size_t from) {
    if (from > text.size())
        return std::string::npos;
    // Walk character by character so that a match can only begin on a lead or
    // single byte, never on the second half of a double-byte character.
    for (size_t pos = from; pos + needle.size() <= text.size();
         pos += CharLength(text, pos, lead)) {
        if (text.compare(pos, needle.size(), needle) == 0)
            return pos;
    }
    return std::string::npos;
}

size_t FindLastMbcs(std::string_view text, std::string_view needle, LeadByteTest lead) {
    size_t last = std::string::npos;
    for (size_t pos = FindMbcs(text, needle, lead); pos != std::string::npos;) {
        last = pos;
        if (pos == text.size())
            break;
        pos = FindMbcs(text, needle, lead, pos + CharLength(text, pos, lead));
    }
    return last;
}

std::string ReplaceAllMbcs(std::string_view text, std::string_view from, std::string_view to,
                           LeadByteTest lead) {
    if (from.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, from.size(), from) == 0) {
            result.append(to);
            pos += from.size();
            continue;
        }
        const size_t length = CharLength(text, pos, lead);
        result.append(text.substr(pos, length));
        pos += length;
    }
    return result;
}

size_t CutLength(std::string_view text, size_t maxBytes, LeadByteTest lead) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = CharLength(text, pos, lead);
        if (pos + length > maxBytes)
            break;
        pos += length;
    }
    return pos;
}

std::string CutText(std::string_view text, size_t maxBytes, LeadByteTest lead) {
    return std::string(text.substr(0, CutLength(text, maxBytes, lead)));
}

std::string DirectoryOf(std::string_view path, LeadByteTest lead) {
    size_t end = 0;
    for (size_t pos = 0; pos < path.size(); pos += CharLength(path, pos, lead)) {
        if (path[pos] == '\\' || path[pos] == '/')
            end = pos + 1;
    }
    return std::string(path.substr(0, end));
}
