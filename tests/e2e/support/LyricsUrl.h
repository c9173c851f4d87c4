// The lyrics search as the browser sees it: the URLs recorder.exe logs (it
// stands in for the browser while a CRecorderRegistration lives) and the
// query a URL carries.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The recorder's log for one test: a fresh file, named in the environment
// that the program (and through its shell, the recorder) inherits.
class UrlLog {
  public:
    UrlLog();
    ~UrlLog();
    UrlLog(const UrlLog&) = delete;
    UrlLog& operator=(const UrlLog&) = delete;

    // The complete lines written so far, oldest first.
    std::vector<std::string> Lines() const;
    // Waits for line number `count` (1-based) and returns it; "" when it did
    // not come.
    std::string WaitForLine(size_t count) const;

  private:
    std::string m_path;
};

// The bytes of the search URL's last parameter q, decoded, when the URL is
// the search engine's HTTPS address ending in "?&hl=en&ie=UTF-8&oe=UTF-8&q="
// followed by nothing but unreserved characters and %XX escapes; nothing
// otherwise.
std::optional<std::string> SearchedQuery(const std::string& url);

// Whether the bytes are well-formed UTF-8 (as the platform's strict
// conversion judges them).
bool IsUtf8(const std::string& bytes);

} // namespace e2e
