#pragma once
// Byte-string helpers that respect double-byte ANSI code pages: a search never
// matches on the trail byte of a double-byte character and a cut never splits one.

#include <cstddef>
#include <string>
#include <string_view>

// Tells whether a byte opens a double-byte character in the active code page.
// The Windows program passes a wrapper of IsDBCSLeadByte; tests pass tables.
using LeadByteTest = bool (*)(unsigned char);

// The test for single-byte code pages: no byte is a lead byte.
bool NoLeadBytes(unsigned char);

// Length in bytes of the character that starts at `pos` (1 or 2). A lead byte
// at the very end of the text has no trail byte and counts as one byte.
size_t CharLength(std::string_view text, size_t pos, LeadByteTest lead);

// First occurrence of `needle` at or after `from` that starts on a character
// boundary, or std::string::npos. `from` must itself be a character boundary.
size_t FindMbcs(std::string_view text, std::string_view needle, LeadByteTest lead, size_t from = 0);

// Last occurrence of `needle` that starts on a character boundary, or npos.
size_t FindLastMbcs(std::string_view text, std::string_view needle, LeadByteTest lead);

// Replaces every occurrence of `from`, left to right and non-overlapping. An
// empty `from` matches nothing.
std::string ReplaceAllMbcs(std::string_view text, std::string_view from, std::string_view to,
                           LeadByteTest lead);

// The largest length <= maxBytes that does not split a double-byte character.
size_t CutLength(std::string_view text, size_t maxBytes, LeadByteTest lead);

// The text cut to at most maxBytes bytes, never inside a double-byte character.
std::string CutText(std::string_view text, size_t maxBytes, LeadByteTest lead);

// The directory part of `path`: everything up to and including its last "\"
// or "/" that is a character of its own (not the trail byte of a double-byte
// character); "" when there is none.
std::string DirectoryOf(std::string_view path, LeadByteTest lead);
