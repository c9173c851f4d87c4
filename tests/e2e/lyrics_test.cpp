// The Lyrics button, end to end: recorder.exe stands in for the browser (it
// is the open command of http and https URLs while each test runs) and logs
// every URL the program hands to the shell. The tracks come from a fake
// Winamp whose titles are set in the ANSI code page, as Winamp's are.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"

#include "core/LyricsQuery.h"
#include "tests/fakes/recorder/RecorderLog.h"
#include "tests/fakes/recorder/RecorderRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr char kSearchPathAndQuery[] = "/search?&hl=en&ie=UTF-8&oe=UTF-8&q=";

// Long enough for a recorder started by a click to have written its line.
constexpr DWORD kSettleMs = 1500;

const std::string kWatchWinamp =
    "[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n";

// A left click inside the Lyrics button of a pop-up `width` wide, posted as
// the system delivers a click to the window under the cursor.
void ClickLyrics(HWND main, int width) {
    PostClick(main, POINT{width - 14, 52});
}

// UTF-8 text in the ANSI code page, as a player would put it in its title;
// nothing when the code page has no character for some of it.
std::optional<std::string> Utf8ToAnsi(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<size_t>(size), L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, &wide[0], size)));
    BOOL lossy = FALSE;
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(static_cast<size_t>(WideCharToMultiByte(
        CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), &ansi[0],
        static_cast<int>(ansi.size()), nullptr, &lossy)));
    if (lossy || (ansi.empty() && !utf8.empty()))
        return std::nullopt;
    return ansi;
}

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

// The bytes an escaped parameter value stands for; nothing when it holds
// anything but unreserved characters and %XX escapes.
std::optional<std::string> PercentDecode(const std::string& escaped) {
    std::string bytes;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (IsUnreserved(escaped[i])) {
            bytes += escaped[i];
            continue;
        }
        if (escaped[i] != '%' || i + 2 >= escaped.size())
            return std::nullopt;
        const int high = HexValue(escaped[i + 1]), low = HexValue(escaped[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// Checks a URL the program opened for the search engine's form and returns
// its decoded q parameter (empty after a failed check).
std::string SearchedQuery(const std::string& url) {
    SCOPED_TRACE("URL " + url);
    EXPECT_EQ(url.rfind("https://", 0), 0u) << "not HTTPS";
    const size_t queryStart = url.find('?');
    if (queryStart == std::string::npos) {
        ADD_FAILURE() << "no query";
        return {};
    }
    // Nothing in q may end the parameter or start a fragment: exactly these
    // parameters, q last.
    const std::vector<std::string> parameters = Split(url.substr(queryStart + 1), '&');
    if (parameters.size() != 5 || parameters[4].rfind("q=", 0) != 0) {
        ADD_FAILURE() << parameters.size() << " parameters, the last one " << parameters.back();
        return {};
    }
    EXPECT_EQ(std::vector<std::string>(parameters.begin(), parameters.begin() + 4),
              (std::vector<std::string>{"", "hl=en", "ie=UTF-8", "oe=UTF-8"}));
    const std::string escaped = parameters[4].substr(2);
    const std::string base = url.substr(0, url.size() - escaped.size());
    EXPECT_EQ(base, kLyricsSearchBase);
    EXPECT_EQ(base.substr(base.size() - std::min(base.size(), sizeof kSearchPathAndQuery - 1)),
              kSearchPathAndQuery);
    const std::optional<std::string> query = PercentDecode(escaped);
    if (!query) {
        ADD_FAILURE() << "q holds more than unreserved characters and %XX escapes";
        return {};
    }
    return *query;
}

// The recorder's log for one test: a fresh file named in the environment the
// program (and through its shell, the recorder) inherits.
class UrlLog {
  public:
    UrlLog() {
        static std::atomic<unsigned> counter{0};
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_path = JoinPath(temp, "trackglow-urls-" + std::to_string(GetCurrentProcessId()) + "-" +
                                    std::to_string(counter++) + ".log");
        DeleteFileA(m_path.c_str());
        SetEnvironmentVariableA(kRecorderLogVariable, m_path.c_str());
    }
    ~UrlLog() {
        SetEnvironmentVariableA(kRecorderLogVariable, nullptr);
        DeleteFileA(m_path.c_str());
    }
    UrlLog(const UrlLog&) = delete;
    UrlLog& operator=(const UrlLog&) = delete;

    // The complete lines written so far, oldest first.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        const std::string bytes = ReadFileBytes(m_path).value_or("");
        size_t start = 0;
        for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(bytes.substr(start, end - start));
        return lines;
    }

    // Waits for line number `count` (1-based) and returns it; "" when it
    // did not come.
    std::string WaitForLine(size_t count) const {
        std::vector<std::string> lines;
        WaitUntil([&] { return (lines = Lines()).size() >= count; });
        return lines.size() >= count ? lines[count - 1] : std::string();
    }

  private:
    std::string m_path;
};

// One program watching a fake Winamp, with the recorder as the browser.
class Lyrics : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_registration.Active()) << "could not register recorder.exe";
        ParkCursor();
        m_main = m_program.WaitForMainWindow();
        ASSERT_NE(m_main, nullptr);
    }

    void TearDown() override {
        if (m_main == nullptr)
            return; // the program is killed on the way out
        ExitCleanly(m_program);
    }

    // Waits for the pop-up to move and come to rest again (a new track shown,
    // or the pop-up toggled up); returns its width, 0 if that never happened.
    int WaitForNewShow() {
        GeometryTrace trace(m_main);
        if (!trace.RecordUntil([](const Box& b) { return !IsAtRest(b); }, kGenerousMs))
            return 0;
        trace.Clear();
        return trace.RecordUntil(IsAtRest, kGenerousMs) ? trace.Last().width : 0;
    }

    // Shows a title (UTF-8 text, set in the ANSI code page), clicks Lyrics
    // and returns the decoded query of the URL that was opened.
    std::string SearchFor(FakeWinamp& winamp, const std::string& title) {
        SCOPED_TRACE("title " + title);
        const std::optional<std::string> ansi = Utf8ToAnsi(title);
        if (!ansi) {
            ADD_FAILURE() << "the ANSI code page (" << GetACP() << ") cannot hold the title";
            return {};
        }
        winamp.SetTitle(*ansi);
        const int width = WaitForNewShow();
        if (width == 0) {
            ADD_FAILURE() << "the track did not come up: " << WindowBox(m_main);
            return {};
        }
        m_width = width;
        const size_t before = m_log.Lines().size();
        ClickLyrics(m_main, width);
        return SearchedQuery(m_log.WaitForLine(before + 1));
    }

    CRecorderRegistration m_registration;
    UrlLog m_log;
    TestInstall m_install{kWatchWinamp};
    RunningProgram m_program{m_install};
    HWND m_main = nullptr;
    int m_width = 0; // of the pop-up with the last track searched for
};

TEST_F(Lyrics, EachClickSearchesForTheShownTrack) {
    FakeWinamp winamp("Winamp 5.94");
    EXPECT_EQ(SearchFor(winamp, "1. Artist - Song - Winamp"), "lyrics \"Artist\" \"Song\"");

    // The same track again: one more search, the same URL.
    const std::vector<std::string> first = m_log.Lines();
    ASSERT_EQ(first.size(), 1u);
    ClickLyrics(m_main, m_width);
    EXPECT_EQ(m_log.WaitForLine(2), first[0]);

    // Every line but the player's name is quoted.
    EXPECT_EQ(SearchFor(winamp, "3. One - Two - Three - Winamp"),
              "lyrics \"One\" \"Two\" \"Three\"");

    PumpFor(kSettleMs);
    EXPECT_EQ(m_log.Lines().size(), 3u) << "one browser start per click";
}

TEST_F(Lyrics, AwkwardCharactersReachTheSearchIntact) {
    struct Case {
        const char* title; // UTF-8
        const char* query; // UTF-8
    };
    const Case cases[] = {
        {"4. Simon & Garfunkel - Cecilia #2 - Winamp",
         "lyrics \"Simon & Garfunkel\" \"Cecilia #2\""},
        {"5. The \"Quoted\" Band - 100% Pure + Simple = Yes? /Don't - Winamp",
         "lyrics \"The \"Quoted\" Band\" \"100% Pure + Simple = Yes? /Don't\""},
        // Björk - Jóga
        {"6. Bj\xC3\xB6rk - J\xC3\xB3ga - Winamp", "lyrics \"Bj\xC3\xB6rk\" \"J\xC3\xB3ga\""},
        // Mötley Crüe - Déjà vu for 5 € (the euro sign is 0x80 in code page 1252)
        {"7. M\xC3\xB6tley Cr\xC3\xBC"
         "e - D\xC3\xA9j\xC3\xA0 vu for 5 \xE2\x82\xAC - Winamp",
         "lyrics \"M\xC3\xB6tley Cr\xC3\xBC"
         "e\" \"D\xC3\xA9j\xC3\xA0 vu for 5 \xE2\x82\xAC\""},
    };
    FakeWinamp winamp("Winamp 5.94");
    for (const Case& c : cases)
        EXPECT_EQ(SearchFor(winamp, c.title), c.query);
}

TEST_F(Lyrics, NothingOpensBeforeAnyTrack) {
    FakeWinamp winamp("Winamp 5.94");
    // The pop-up shown on demand, with no track yet.
    m_program.PostCommand(kCommandToggle);
    const int width = WaitForNewShow();
    ASSERT_EQ(width, 317) << WindowBox(m_main);
    ClickLyrics(m_main, width);
    ClickLyrics(m_main, width);
    PumpFor(kSettleMs);
    EXPECT_TRUE(m_program.IsResponsive());

    // The recorder was in place all along: the first track's search is the
    // only line.
    EXPECT_EQ(SearchFor(winamp, "8. Artist - Song - Winamp"), "lyrics \"Artist\" \"Song\"");
    PumpFor(kSettleMs);
    EXPECT_EQ(m_log.Lines().size(), 1u);
}

std::vector<std::string> OpenCommands() {
    std::vector<std::string> commands;
    for (const fakes::SwappedValue& command : recorder::kOpenCommands)
        commands.push_back(fakes::CurrentText(command));
    return commands;
}

TEST(RecorderRegistration, PutsTheBrowserBackAfterwardsAndAfterACrash) {
    const std::string recorderCommand = recorder::RecorderCommand(recorder::RecorderExePath());
    // A registration that ends at once puts back whatever an earlier run left.
    { CRecorderRegistration tidy; }
    const std::vector<std::string> browser = OpenCommands();
    for (const std::string& command : browser)
        EXPECT_NE(command, recorderCommand);

    {
        CRecorderRegistration registration;
        ASSERT_TRUE(registration.Active());
        EXPECT_EQ(OpenCommands(), std::vector<std::string>(browser.size(), recorderCommand));
    }
    EXPECT_EQ(OpenCommands(), browser);

    // A test that died while registered leaves the recorder in place and the
    // browser's command kept beside it; the next registration puts it back.
    for (const fakes::SwappedValue& command : recorder::kOpenCommands)
        ASSERT_TRUE(fakes::Replace(command, recorderCommand));
    {
        CRecorderRegistration next;
        ASSERT_TRUE(next.Active());
    }
    EXPECT_EQ(OpenCommands(), browser);
}

} // namespace
