#include "core/IniFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr char kCtrlZ = '\x1A';

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool RenameOver(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Appends one line as text mode writes it: every LF, the line end included,
// becomes CR LF.
void AppendLine(std::string& out, std::string_view text) {
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    out += "\r\n";
}

// Reads the whole file, stopping at Ctrl-Z since nothing after it is data.
// A read error ends the data in the same way.
std::string ReadData(FILE* file) {
    std::string bytes;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        const void* end = std::memchr(buffer, kCtrlZ, count);
        if (end != nullptr) {
            bytes.append(buffer, static_cast<const char*>(end) - buffer);
            break;
        }
        bytes.append(buffer, count);
    }
    return bytes;
}

// Where a line cut at the limit ends without splitting a UTF-8 character:
// before a sequence that starts in its last bytes and that the bytes after
// the cut (`next`) complete; otherwise at the limit.
size_t WholeUtf8Cut(const std::string& line, std::string_view next) {
    for (size_t back = 1; back <= 3 && back <= line.size(); ++back) {
        const size_t start = line.size() - back;
        if ((static_cast<unsigned char>(line[start]) & 0xC0) == 0x80)
            continue; // a continuation byte: the character starts further back
        const std::string joined = line.substr(start) + std::string(next);
        return Utf8SequenceLength(joined, 0) > back ? start : line.size();
    }
    return line.size();
}

} // namespace

int ParseIniInt(std::string_view text) {
    constexpr int64_t kLimit = int64_t{1} << 31; // magnitude of INT32_MIN
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit)
            magnitude = kLimit; // clamp instead of overflowing on absurd values
    }
    if (negative)
        return static_cast<int>(-magnitude);
    return static_cast<int>(magnitude < kLimit ? magnitude : kLimit - 1);
}

uint32_t ParseIniHex(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    size_t width = 8; // the field width counts the sign and the prefix
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
        --width;
    }
    uint32_t value = 0;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        i += 2;
        width -= 2;
    }
    for (; width > 0 && i < text.size() && HexDigit(text[i]) >= 0; ++i, --width)
        value = value * 16 + static_cast<uint32_t>(HexDigit(text[i]));
    return negative ? 0u - value : value;
}

CIniFile::CIniFile(CharRule rule, FileReplacer replace, LegacyTextReader legacy)
    : m_rule(rule), m_replace(replace ? replace : RenameOver), m_legacy(legacy) {}

bool CIniFile::Load(const std::string& path) {
    Clear();
    m_path = path; // kept even when the open fails, so a later Save writes here
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        // Create a missing file; appending never truncates one that appeared meanwhile.
        FilePtr created(std::fopen(path.c_str(), "ab"));
        if (!created)
            return false;
        created.reset();
        file.reset(std::fopen(path.c_str(), "rb"));
        if (!file)
            return false;
    }
    Parse(ReadData(file.get()));
    return true;
}

void CIniFile::Parse(std::string_view bytes) {
    const size_t end =
        bytes.find(kCtrlZ) == std::string_view::npos ? bytes.size() : bytes.find(kCtrlZ);
    std::string section;
    std::string line;
    for (size_t i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n')
            continue; // CR LF reads as LF; a lone CR is an ordinary byte
        if (c == '\n') {
            ParseLine(line, section);
            line.clear();
            continue;
        }
        line += c;
        if (line.size() == kMaxLineBytes) {
            // Under UTF-8 the cut falls before a character it would split, so
            // a valid value is never taken for legacy text.
            const size_t keep =
                m_rule.IsUtf8() ? WholeUtf8Cut(line, bytes.substr(i + 1, 3)) : line.size();
            std::string rest = line.substr(keep);
            line.resize(keep);
            ParseLine(line, section);
            line = std::move(rest);
        }
    }
    ParseLine(line, section);
}

void CIniFile::ParseLine(std::string_view line, std::string& currentSection) {
    line = line.substr(0, line.find('\0'));
    if (line.empty())
        return;
    if (line.front() == '[' && line.back() == ']') {
        const size_t first = line.find_first_not_of('[');
        const size_t last = line.find_last_not_of(']');
        currentSection = (first == std::string_view::npos || last < first)
                             ? std::string()
                             : std::string(line.substr(first, last - first + 1));
        return;
    }
    const size_t equals = FindMbcs(line, "=", m_rule);
    if (equals == std::string_view::npos)
        return; // neither a header nor a key line: a comment or stray text
    SetString(currentSection, std::string(line.substr(0, equals)),
              std::string(line.substr(equals + 1)));
}

std::string CIniFile::Serialize() const {
    std::string out;
    for (const IniSection& section : m_sections) {
        AppendLine(out, "[" + section.name + "]");
        for (size_t i = 0; i < section.keys.size(); ++i)
            AppendLine(out, section.keys[i] + "=" + section.values[i]);
        AppendLine(out, "");
    }
    return out;
}

bool CIniFile::Save() {
    if (m_path.empty())
        return false;
    const std::string temp = m_path + ".tmp";
    const std::string bytes = Serialize();
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr)
        return false; // nothing of ours to clean up: whatever is there stays
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = !std::ferror(file) && written;
    written = std::fclose(file) == 0 && written;
    if (!written || !m_replace(temp.c_str(), m_path.c_str())) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::string CIniFile::GetString(const std::string& section, const std::string& key) const {
    const int s = FindSection(section);
    const int k = FindKey(s, key);
    if (k < 0)
        return std::string();
    const std::string& value = m_sections[s].values[k];
    if (m_legacy && m_rule.IsUtf8() && !IsValidUtf8(value))
        return m_legacy(value);
    return value;
}

int CIniFile::GetInt(const std::string& section, const std::string& key) const {
    return ParseIniInt(GetString(section, key));
}

uint32_t CIniFile::GetHex(const std::string& section, const std::string& key) const {
    return ParseIniHex(GetString(section, key));
}

bool CIniFile::SetString(const std::string& section, const std::string& key,
                         const std::string& value, bool create) {
    int s = FindSection(section);
    if (s < 0) {
        if (!create)
            return false;
        m_sections.push_back(IniSection{section, {}, {}});
        s = static_cast<int>(m_sections.size()) - 1;
    }
    IniSection& target = m_sections[s];
    int k = FindKey(s, key);
    if (k < 0) {
        if (!create)
            return false;
        target.keys.push_back(key);
        target.values.emplace_back();
        k = static_cast<int>(target.keys.size()) - 1;
    }
    target.values[k] = value;
    return true;
}

bool CIniFile::SetInt(const std::string& section, const std::string& key, int value, bool create) {
    return SetString(section, key, std::to_string(value), create);
}

void CIniFile::Clear() {
    m_sections.clear();
}

int CIniFile::FindSection(const std::string& name) const {
    for (size_t i = 0; i < m_sections.size(); ++i)
        if (m_sections[i].name == name)
            return static_cast<int>(i);
    return -1;
}

int CIniFile::FindKey(int section, const std::string& key) const {
    if (section < 0 || section >= static_cast<int>(m_sections.size()))
        return -1;
    const std::vector<std::string>& keys = m_sections[section].keys;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == key)
            return static_cast<int>(i);
    return -1;
}
