// Any file bytes: Load, Save and Load again give the same store, and the
// second Save writes the same bytes as the first.

#include "core/IniFile.h"

#include "FuzzLeadBytes.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// A scratch directory on tmpfs when there is one (a disk file system flushes
// on every rename-over, which would make each run wait for the disk),
// removed when the fuzzer exits.
class WorkDir {
  public:
    WorkDir() {
        char shm[] = "/dev/shm/tgfuzz.XXXXXX";
        char tmp[] = "/tmp/tgfuzz.XXXXXX";
        if (mkdtemp(shm) != nullptr)
            m_dir = shm;
        else if (mkdtemp(tmp) != nullptr)
            m_dir = tmp;
        else
            std::abort();
    }
    ~WorkDir() {
        std::remove(File().c_str());
        std::remove((File() + ".tmp").c_str());
        rmdir(m_dir.c_str());
    }
    std::string File() const { return m_dir + "/settings.ini"; }

  private:
    std::string m_dir;
};

bool SameStore(const CIniFile& a, const CIniFile& b) {
    if (a.Sections().size() != b.Sections().size())
        return false;
    for (size_t i = 0; i < a.Sections().size(); ++i) {
        const IniSection& x = a.Sections()[i];
        const IniSection& y = b.Sections()[i];
        if (x.name != y.name || x.keys != y.keys || x.values != y.values)
            return false;
    }
    return true;
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t count;
        while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, count);
        std::fclose(file);
    }
    return bytes;
}

} // namespace

// Stands in for the legacy code page (Latin-1): every byte becomes UTF-8.
std::string Latin1ToUtf8(std::string_view legacy) {
    std::string utf8;
    for (char c : legacy) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte chooses the code page: UTF-8 (with values of an older
    // version read in a legacy one), a fuzzed double-byte table, or single bytes.
    const bool utf8 = size > 0 && (data[0] & 2);
    const bool doubleByte = !utf8 && size > 0 && (data[0] & 1);
    if (size > 0) {
        ++data;
        --size;
    }
    if (doubleByte)
        TakeLeadTable(data, size);
    const CharRule lead = utf8         ? CharRule::Utf8()
                          : doubleByte ? CharRule(FuzzLeadByte)
                                       : CharRule();
    const LegacyTextReader legacy = utf8 ? Latin1ToUtf8 : nullptr;

    static const WorkDir work;
    const std::string path = work.File();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        std::abort();
    }

    CIniFile first(lead, nullptr, legacy);
    if (!first.Load(path) || !first.Save())
        std::abort();
    const std::string saved = ReadFile(path);
    if (saved != first.Serialize())
        std::abort();
    CIniFile second(lead, nullptr, legacy);
    if (!second.Load(path) || !SameStore(first, second))
        std::abort();
    if (second.Serialize() != saved)
        std::abort();
    // Under UTF-8 every value reads as UTF-8, however it was stored.
    if (utf8) {
        for (const IniSection& section : second.Sections())
            for (const std::string& key : section.keys)
                if (!IsValidUtf8(second.GetString(section.name, key)))
                    std::abort();
    }
    return 0;
}
