#include "support/LyricsUrl.h"

#include "support/Files.h"
#include "support/Paths.h"
#include "support/Wait.h"

#include "tests/fakes/recorder/RecorderLog.h"

#include <windows.h>

#include <atomic>

namespace e2e {
namespace {

constexpr char kSearchPrefix[] = "https://";
constexpr char kSearchQuery[] = "/search?&hl=en&ie=UTF-8&oe=UTF-8&q=";

bool IsUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

UrlLog::UrlLog() {
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_path = JoinPath(temp, "trackglow-urls-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(counter++) + ".log");
    DeleteFileA(m_path.c_str());
    SetEnvironmentVariableA(kRecorderLogVariable, m_path.c_str());
}

UrlLog::~UrlLog() {
    SetEnvironmentVariableA(kRecorderLogVariable, nullptr);
    DeleteFileA(m_path.c_str());
}

std::vector<std::string> UrlLog::Lines() const {
    std::vector<std::string> lines;
    const std::string bytes = ReadFileBytes(m_path).value_or("");
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

std::string UrlLog::WaitForLine(size_t count) const {
    std::vector<std::string> lines;
    WaitUntil([&] { return (lines = Lines()).size() >= count; });
    return lines.size() >= count ? lines[count - 1] : std::string();
}

std::optional<std::string> SearchedQuery(const std::string& url) {
    const size_t query = url.find(kSearchQuery);
    if (url.rfind(kSearchPrefix, 0) != 0 || query == std::string::npos)
        return std::nullopt;
    const size_t start = query + sizeof kSearchQuery - 1;
    std::string bytes;
    for (size_t i = start; i < url.size(); ++i) {
        if (IsUnreserved(url[i])) {
            bytes += url[i];
            continue;
        }
        if (url[i] != '%' || i + 2 >= url.size())
            return std::nullopt;
        const int high = HexValue(url[i + 1]), low = HexValue(url[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

bool IsUtf8(const std::string& bytes) {
    if (bytes.empty())
        return true;
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                               static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

} // namespace e2e
