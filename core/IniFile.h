#pragma once
// CIniFile: the settings and skin files. A small ordered store of sections and
// key/value pairs, read whole and written whole. Every byte of a name or value
// is significant: no comments, quoting, escapes or trimming.

#include "core/Mbcs.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct IniSection {
    std::string name;
    std::vector<std::string> keys;
    std::vector<std::string> values; // values[i] belongs to keys[i]
};

// Moves the file `from` over the file `to`, replacing it; false on failure.
using FileReplacer = bool (*)(const char* from, const char* to);

// Reads text written in the system's legacy code page into the code page in force.
using LegacyTextReader = std::string (*)(std::string_view legacy);

class CIniFile {
  public:
    // A line read from a file holds at most this many bytes; longer physical
    // lines are read as several lines.
    static constexpr size_t kMaxLineBytes = 1023;

    // `rule` tells where the characters are when a key line is split;
    // `replace` defaults to std::rename, which replaces the target on POSIX.
    // Under UTF-8, a value that is not valid UTF-8 was written by an older
    // version in the legacy code page: `legacy`, when given, reads it so
    // (only what is read changes; the stored bytes stay as they are).
    explicit CIniFile(CharRule rule = CharRule(), FileReplacer replace = nullptr,
                      LegacyTextReader legacy = nullptr);

    // Clears the store, remembers the path and reads the file, creating it
    // empty when it is missing. False only when the file cannot be opened.
    bool Load(const std::string& path);
    // Writes the store to a temporary file beside the remembered path and moves
    // it over the file, so a failed save leaves the old file untouched.
    bool Save();

    // The store's own text format, without the file: Parse adds what `bytes`
    // hold to the current store; Serialize gives the bytes Save writes.
    void Parse(std::string_view bytes);
    std::string Serialize() const;

    // The value in the code page in force (see the constructor for values an
    // older version wrote in the legacy code page).
    std::string GetString(const std::string& section, const std::string& key) const;
    // Decimal with optional leading white space and sign; 0 without digits.
    // Values beyond the 32-bit range are clamped to INT32_MIN / INT32_MAX.
    int GetInt(const std::string& section, const std::string& key) const;
    // Hexadecimal as "%08x" scans it: at most 8 characters counting a sign and
    // a 0x prefix; a minus negates (modulo 2^32); 0 without digits.
    uint32_t GetHex(const std::string& section, const std::string& key) const;

    bool SetString(const std::string& section, const std::string& key,
                   const std::string& value = "", bool create = true);
    bool SetInt(const std::string& section, const std::string& key, int value, bool create = true);
    void Clear();

    int FindSection(const std::string& name) const;
    int FindKey(int section, const std::string& key) const;

    const std::vector<IniSection>& Sections() const { return m_sections; }
    const std::string& Path() const { return m_path; }

  private:
    void ParseLine(std::string_view line, std::string& currentSection);

    CharRule m_rule;
    FileReplacer m_replace;
    LegacyTextReader m_legacy;
    std::vector<IniSection> m_sections;
    std::string m_path;
};

// The conversions behind GetInt and GetHex, for any text.
int ParseIniInt(std::string_view text);
uint32_t ParseIniHex(std::string_view text);
