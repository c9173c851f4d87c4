#include "core/Mbcs.h"

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

bool NoLeadBytes(unsigned char) {
    return false;
}

size_t Utf8SequenceLength(std::string_view text, size_t pos) {
    if (pos >= text.size())
        return 0;
    const auto at = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    // The second byte's range excludes overlong forms, surrogates and values
    // beyond U+10FFFF (the table of well-formed sequences in the Unicode standard).
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - pos < length)
        return 0;
    if (at(1) < low || at(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(at(i)))
            return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Utf8SequenceLength(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

size_t CharRule::Length(std::string_view text, size_t pos) const {
    if (m_utf8) {
        const size_t length = Utf8SequenceLength(text, pos);
        return length == 0 ? 1 : length;
    }
    if (pos + 1 < text.size() && m_lead(static_cast<unsigned char>(text[pos])))
        return 2;
    return 1;
}

size_t CharLength(std::string_view text, size_t pos, CharRule rule) {
    return rule.Length(text, pos);
}

size_t FindMbcs(std::string_view text, std::string_view needle, CharRule rule, size_t from) {
    if (from > text.size())
        return std::string::npos;
    // Walk character by character so that a match can only begin where a
    // character begins, never inside one.
    for (size_t pos = from; pos + needle.size() <= text.size(); pos += rule.Length(text, pos)) {
        if (text.compare(pos, needle.size(), needle) == 0)
            return pos;
    }
    return std::string::npos;
}

size_t FindLastMbcs(std::string_view text, std::string_view needle, CharRule rule) {
    size_t last = std::string::npos;
    for (size_t pos = FindMbcs(text, needle, rule); pos != std::string::npos;) {
        last = pos;
        if (pos == text.size())
            break;
        pos = FindMbcs(text, needle, rule, pos + rule.Length(text, pos));
    }
    return last;
}

std::string ReplaceAllMbcs(std::string_view text, std::string_view from, std::string_view to,
                           CharRule rule) {
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
        const size_t length = rule.Length(text, pos);
        result.append(text.substr(pos, length));
        pos += length;
    }
    return result;
}

size_t CutLength(std::string_view text, size_t maxBytes, CharRule rule) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = rule.Length(text, pos);
        if (pos + length > maxBytes)
            break;
        pos += length;
    }
    return pos;
}

std::string CutText(std::string_view text, size_t maxBytes, CharRule rule) {
    return std::string(text.substr(0, CutLength(text, maxBytes, rule)));
}

std::string DirectoryOf(std::string_view path, CharRule rule) {
    size_t end = 0;
    for (size_t pos = 0; pos < path.size(); pos += rule.Length(path, pos)) {
        if (path[pos] == '\\' || path[pos] == '/')
            end = pos + 1;
    }
    return std::string(path.substr(0, end));
}
