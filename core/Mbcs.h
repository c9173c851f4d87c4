#pragma once
// Byte-string helpers that step by whole characters of the code page in
// force: a search never matches inside a character and a cut never splits
// one. Double-byte code pages and UTF-8 are both handled.

#include <cstddef>
#include <string>
#include <string_view>

// Tells whether a byte opens a double-byte character in the active code page.
// The Windows program passes a wrapper of IsDBCSLeadByte; tests pass tables.
using LeadByteTest = bool (*)(unsigned char);

// The test for single-byte code pages: no byte is a lead byte.
bool NoLeadBytes(unsigned char);

// How long the characters of a code page are: one or two bytes as a lead-byte
// test says (single- and double-byte code pages), or UTF-8's one to four.
class CharRule {
  public:
    // A single- or double-byte code page. Implicit, so a lead-byte test can
    // stand wherever a rule is asked for.
    constexpr CharRule(LeadByteTest lead = NoLeadBytes) : m_lead(lead ? lead : NoLeadBytes) {}
    static constexpr CharRule Utf8() { return CharRule(nullptr, true); }

    bool IsUtf8() const { return m_utf8; }
    // Length in bytes of the character that starts at `pos`. A byte that
    // starts no complete character (a lead byte without its trail, a
    // malformed UTF-8 sequence) counts as a character of one byte, and so
    // does the end of the text.
    size_t Length(std::string_view text, size_t pos) const;

  private:
    constexpr CharRule(LeadByteTest lead, bool utf8) : m_lead(lead), m_utf8(utf8) {}

    LeadByteTest m_lead = NoLeadBytes;
    bool m_utf8 = false;
};

// Length of the well-formed UTF-8 sequence at `pos`, or 0 when none starts there.
size_t Utf8SequenceLength(std::string_view text, size_t pos);

// True when the whole text is well-formed UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view text);

// Length in bytes of the character that starts at `pos` under `rule`.
size_t CharLength(std::string_view text, size_t pos, CharRule rule);

// First occurrence of `needle` at or after `from` that starts on a character
// boundary, or std::string::npos. `from` must itself be a character boundary.
size_t FindMbcs(std::string_view text, std::string_view needle, CharRule rule, size_t from = 0);

// Last occurrence of `needle` that starts on a character boundary, or npos.
size_t FindLastMbcs(std::string_view text, std::string_view needle, CharRule rule);

// Replaces every occurrence of `from`, left to right and non-overlapping. An
// empty `from` matches nothing.
std::string ReplaceAllMbcs(std::string_view text, std::string_view from, std::string_view to,
                           CharRule rule);

// The largest length <= maxBytes that does not split a character.
size_t CutLength(std::string_view text, size_t maxBytes, CharRule rule);

// The text cut to at most maxBytes bytes, never inside a character.
std::string CutText(std::string_view text, size_t maxBytes, CharRule rule);

// The directory part of `path`: everything up to and including its last "\"
// or "/" that is a character of its own (not the trail byte of a double-byte
// character); "" when there is none.
std::string DirectoryOf(std::string_view path, CharRule rule);
