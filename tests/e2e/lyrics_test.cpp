// The Lyrics button, end to end: recorder.exe stands in for the browser (it
// is the open command of http and https URLs while each test runs) and logs
// every URL the program hands to the shell. The tracks come from a fake
// Winamp whose titles are set in the ANSI code page, as Winamp's are.
#include "support/E2e.h"
#include "support/LyricsUrl.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/Session.h"

#include "tests/fakes/recorder/RecorderLog.h"
#include "tests/fakes/recorder/RecorderRegistration.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

// The search engine's query address, up to the query.
constexpr char kSearchBase[] = "https://www.google.com/search?&hl=en&ie=UTF-8&oe=UTF-8&q=";

const std::string kWatchWinamp =
    "[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n";

// A left click inside the Lyrics button of a pop-up `width` wide, handled
// when this returns: a browser it starts has been started.
void ClickLyrics(HWND main, int width) {
    SendClick(main, POINT{width - 14, 52});
}

// Whether a recorder started by the shell still runs: once none does, every
// recorder started so far has written its line.
bool RecorderRuns() {
    UniqueHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32First(processes.Get(), &process); more;
         more = Process32Next(processes.Get(), &process)) {
        if (lstrcmpiA(process.szExeFile, "recorder.exe") == 0)
            return true;
    }
    return false;
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

// One program watching a fake Winamp, with the recorder as the browser.
class Lyrics : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_registration.Active()) << "could not register recorder.exe";
        m_session = std::make_unique<Session>(kWatchWinamp);
        m_main = m_session->Main();
    }

    // Waits for the show or switch started by now to end; returns the
    // pop-up's width at rest, 0 if it did not come to rest.
    int WaitForNewShow() {
        if (!m_session->WaitUntilStill() || !IsAtRest(WindowBox(m_main)))
            return 0;
        return WindowBox(m_main).width;
    }

    // The log's lines once every browser started so far has written.
    std::vector<std::string> AllLines() {
        EXPECT_TRUE(WaitUntil([] { return !RecorderRuns(); })) << "a browser still runs";
        return m_log.Lines();
    }

    // Shows the track with these lines (UTF-8 text, set in the ANSI code
    // page, as Winamp would: "N. line - line - Winamp"), clicks Lyrics as soon
    // as the program has laid it out and returns the decoded query of the URL
    // that was opened.
    std::string SearchFor(FakeWinamp& winamp, const std::vector<std::string>& lines) {
        std::string title = std::to_string(++m_tracks) + ".";
        std::string text;
        for (const std::string& line : lines) {
            title += " " + line + " -";
            text += line + "\n";
        }
        SCOPED_TRACE("title " + title);
        const std::optional<std::string> ansiTitle = Utf8ToAnsi(title + " Winamp");
        const std::optional<std::string> ansiText = Utf8ToAnsi(text + "Winamp");
        if (!ansiTitle || !ansiText) {
            ADD_FAILURE() << "the ANSI code page (" << GetACP() << ") cannot hold the title";
            return {};
        }
        winamp.SetTitle(*ansiTitle);
        if (!m_session->Program().TickPoll()) {
            ADD_FAILURE() << "the poll did not return";
            return {};
        }
        m_width = RestingWidth(*ansiText);
        const size_t before = m_log.Lines().size();
        ClickLyrics(m_main, m_width);
        return m_log.WaitForLine(before + 1);
    }

    CRecorderRegistration m_registration;
    UrlLog m_log;
    std::unique_ptr<Session> m_session;
    HWND m_main = nullptr;
    int m_width = 0; // of the pop-up with the last track searched for
    int m_tracks = 0;
};

// The URLs, written down: HTTPS, the search engine's parameters, q last, and
// the query in UTF-8 with every byte but A-Z a-z 0-9 - . _ ~ as %XX, so that
// nothing in it ends the parameter or leaves the URL.

TEST_F(Lyrics, EachClickSearchesForTheShownTrack) {
    FakeWinamp winamp("Winamp 5.94");
    const std::string url = SearchFor(winamp, {"Artist", "Song"});
    EXPECT_EQ(url, std::string(kSearchBase) + "lyrics%20%22Artist%22%20%22Song%22");

    // The same track again: one more search, the same URL.
    ClickLyrics(m_main, m_width);
    EXPECT_EQ(m_log.WaitForLine(2), url);

    // Every line but the player's name is quoted.
    EXPECT_EQ(SearchFor(winamp, {"One", "Two", "Three"}),
              std::string(kSearchBase) + "lyrics%20%22One%22%20%22Two%22%20%22Three%22");
    EXPECT_EQ(AllLines().size(), 3u) << "one browser start per click";
}

TEST_F(Lyrics, AwkwardCharactersReachTheSearchIntact) {
    struct Case {
        std::vector<std::string> lines; // UTF-8
        const char* query;
    };
    const Case cases[] = {
        {{"Simon & Garfunkel", "Cecilia #2"},
         "lyrics%20%22Simon%20%26%20Garfunkel%22%20%22Cecilia%20%232%22"},
        {{"The \"Quoted\" Band", "100% Pure + Simple = Yes? /Don't"},
         "lyrics%20%22The%20%22Quoted%22%20Band%22%20%22"
         "100%25%20Pure%20%2B%20Simple%20%3D%20Yes%3F%20%2FDon%27t%22"},
        // Björk - Jóga
        {{"Bj\xC3\xB6rk", "J\xC3\xB3ga"}, "lyrics%20%22Bj%C3%B6rk%22%20%22J%C3%B3ga%22"},
        // Mötley Crüe - Déjà vu for 5 € (the euro sign is 0x80 in code page 1252)
        {{"M\xC3\xB6tley Cr\xC3\xBC"
          "e",
          "D\xC3\xA9j\xC3\xA0 vu for 5 \xE2\x82\xAC"},
         "lyrics%20%22M%C3%B6tley%20Cr%C3%BCe%22%20%22D%C3%A9j%C3%A0%20vu%20for%205%20%E2%82%AC%"
         "22"},
    };
    FakeWinamp winamp("Winamp 5.94");
    for (const Case& c : cases)
        EXPECT_EQ(SearchFor(winamp, c.lines), std::string(kSearchBase) + c.query);
}

TEST_F(Lyrics, NothingOpensBeforeAnyTrack) {
    FakeWinamp winamp("Winamp 5.94");
    // The pop-up shown on demand, with no track yet.
    m_session->Program().SendCommand(kCommandToggle);
    const int width = WaitForNewShow();
    ASSERT_EQ(width, 317) << WindowBox(m_main);
    ClickLyrics(m_main, width);
    ClickLyrics(m_main, width);

    // The recorder was in place all along: the first track's search is the
    // only line.
    EXPECT_EQ(SearchFor(winamp, {"Artist", "Song"}),
              std::string(kSearchBase) + "lyrics%20%22Artist%22%20%22Song%22");
    EXPECT_EQ(AllLines().size(), 1u);
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
