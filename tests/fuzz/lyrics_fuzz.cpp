// Any query: the URL holds only unreserved characters and %XX escapes after
// the search address, and decodes back to exactly the query.

#include "core/LyricsQuery.h"

#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case escapes are not what we write
}

bool IsUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::string Decode(const std::string& encoded) {
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            Check(IsUnreserved(encoded[i]));
            decoded += encoded[i];
            continue;
        }
        Check(i + 2 < encoded.size());
        const int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
        Check(high >= 0 && low >= 0);
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

void CheckUrl(const std::string& query) {
    const std::string url = BuildLyricsUrl(query);
    if (query.empty()) {
        Check(url.empty());
        return;
    }
    const std::string base = kLyricsSearchBase;
    Check(url.compare(0, base.size(), base) == 0);
    Check(Decode(url.substr(base.size())) == query);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckUrl(bytes);
    CheckUrl(BuildLyricsQuery(bytes, NoLeadBytes));
    return 0;
}
