// The pop-up's manners, end to end: clicks on it (real ones, through the
// system's input queue) leave the user's window in front with the keyboard
// focus while the buttons still do their work; and over a full-screen
// application a new track moves nothing until the user asks for it, unless
// the settings say fullscreen=1.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"
#include "support/TextMeasure.h"

#include "tests/fakes/recorder/RecorderLog.h"
#include "tests/fakes/recorder/RecorderRegistration.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

const Rgb kTile{24, 40, 96};
constexpr char kFlatColours[] = "text=0000E6FF\r\nborder=0000FF00\r\n";
// Long enough for at least two polls (300 ms apart) to see a change.
constexpr DWORD kTwoPolls = 800;
constexpr Box kHidden{0, 0, 0, 0};

std::string Settings(const std::string& extraLines = "") {
    return "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n" + extraLines + "\r\n";
}

// A started program in a flat skin, watching Winamp, with Wine's tray
// window and the cursor out of the pop-up's way.
struct Session {
    TestInstall install;
    std::optional<RunningProgram> program;
    HWND main = nullptr;

    explicit Session(const std::string& settings = Settings()) : install(settings) {
        AddFlatSkin(install, "Flat", kTile, kFlatColours);
        program.emplace(install);
        main = program->WaitForMainWindow();
        WaitUntil(MoveWineSystemTrayAway, 3000);
        ParkCursor();
    }
    ~Session() { ParkCursor(); }

    // A poll tick, sent: when it returns, the program has asked the players
    // and acted on what they said.
    bool Poll() const {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutA(main, WM_TIMER, 0, 0, SMTO_NORMAL, kGenerousMs, &ignored) != 0;
    }
};

// Whole 45-pixel tiles plus the frame, never fewer than seven.
int PopupWidth(const std::string& text) {
    const RECT measured = MeasureText(text);
    const int width = measured.right - measured.left;
    return width + 45 <= 317 ? 317 : ((width + 42) / 45) * 45 + 47;
}

bool WaitForRest(HWND main, int width) {
    return WaitUntil([&] { return WindowBox(main) == PopupAtRest(width); });
}

// Where to click, on the screen, on the pop-up at rest `width` wide.
POINT TextArea() {
    return POINT{kPopupAtRest.x + 30, kPopupAtRest.y + 20};
}
POINT PreviousButton(int width) {
    return POINT{kPopupAtRest.x + width - 14, kPopupAtRest.y + 14};
}
POINT NextButton(int width) {
    return POINT{kPopupAtRest.x + width - 14, kPopupAtRest.y + 33};
}
POINT LyricsButton(int width) {
    return POINT{kPopupAtRest.x + width - 14, kPopupAtRest.y + 52};
}

void ClickAt(POINT point) {
    SetCursorPos(point.x, point.y);
    ClickLeftButton();
}

// A window class of the driver's own, for the windows the user works in.
const char* DriverWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "TrackglowTestUserWindow";
        return RegisterClassA(&wc);
    }();
    return MAKEINTATOM(atom);
}

// A top-level window of the driver; destroyed with the object.
class DriverWindow {
  public:
    DriverWindow(DWORD style, int x, int y, int width, int height) {
        m_window = CreateWindowExA(0, DriverWindowClass(), "user's window", style, x, y, width,
                                   height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~DriverWindow() { Close(); }
    DriverWindow(const DriverWindow&) = delete;
    DriverWindow& operator=(const DriverWindow&) = delete;

    HWND Get() const { return m_window; }
    void Close() {
        if (m_window)
            DestroyWindow(m_window);
        m_window = nullptr;
    }

  private:
    HWND m_window = nullptr;
};

// The window the user types in: an edit box in an ordinary window, in front
// and with the keyboard focus.
class UserWindow {
  public:
    UserWindow() : m_frame(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 450, 400, 200) {
        m_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24,
                                 m_frame.Get(), nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    bool TakeFocus() {
        if (!BringToForeground(m_frame.Get()))
            return false;
        SetFocus(m_edit);
        return GetFocus() == m_edit;
    }
    HWND Frame() const { return m_frame.Get(); }
    HWND Edit() const { return m_edit; }

  private:
    DriverWindow m_frame;
    HWND m_edit = nullptr;
};

// The user's window is still the one in front, active and with the focus.
testing::AssertionResult UserKeepsTheFocus(const UserWindow& user) {
    if (GetForegroundWindow() != user.Frame())
        return testing::AssertionFailure()
               << "the foreground went to \"" << DescribeWindow(GetForegroundWindow()).title
               << "\" (" << DescribeWindow(GetForegroundWindow()).className << ")";
    if (GetActiveWindow() != user.Frame())
        return testing::AssertionFailure() << "the user's window is no longer active";
    if (GetFocus() != user.Edit())
        return testing::AssertionFailure() << "the edit box lost the keyboard focus";
    return testing::AssertionSuccess();
}

// A game or a film: a borderless window whose client area is the whole screen.
class FullScreenWindow : public DriverWindow {
  public:
    FullScreenWindow()
        : DriverWindow(WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                       GetSystemMetrics(SM_CYSCREEN)) {}
};

// The recorder's log for one test: a fresh file named in the environment the
// program (and through its shell, the recorder) inherits.
class UrlLog {
  public:
    UrlLog() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_path =
            JoinPath(temp, "trackglow-courtesy-" + std::to_string(GetCurrentProcessId()) + ".log");
        DeleteFileA(m_path.c_str());
        SetEnvironmentVariableA(kRecorderLogVariable, m_path.c_str());
    }
    ~UrlLog() {
        SetEnvironmentVariableA(kRecorderLogVariable, nullptr);
        DeleteFileA(m_path.c_str());
    }
    UrlLog(const UrlLog&) = delete;
    UrlLog& operator=(const UrlLog&) = delete;

    // The first URL the recorder was given ("" before it wrote one).
    std::string Url() const {
        const std::string bytes = ReadFileBytes(m_path).value_or("");
        const size_t end = bytes.find("\r\n");
        return end == std::string::npos ? std::string() : bytes.substr(0, end);
    }

    bool WaitForUrl() const {
        return WaitUntil(
            [&] { return ReadFileBytes(m_path).value_or("").find("\r\n") != std::string::npos; });
    }

  private:
    std::string m_path;
};

} // namespace

// ---------------------------------------------------------------------------
// Clicks

TEST(Courtesy, ClicksOnTheButtonsAndTheTextLeaveTheUsersWindowInFront) {
    CRecorderRegistration browser;
    ASSERT_TRUE(browser.Active()) << "could not register recorder.exe";
    UrlLog urls;
    Session session;
    ASSERT_NE(session.main, nullptr);
    const std::string text = "Polite Artist\nQuiet Song\nWinamp";
    const int w = PopupWidth(text);
    FakeWinamp winamp("8. Polite Artist - Quiet Song - Winamp");
    ASSERT_TRUE(WaitForRest(session.main, w)) << WindowBox(session.main);

    UserWindow user;
    ASSERT_TRUE(user.TakeFocus());

    // The text, then Next: when Next has reached the player, the click on the
    // text before it has been handled too.
    ClickAt(TextArea());
    ClickAt(NextButton(w));
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds().size() == 1; }));
    EXPECT_TRUE(UserKeepsTheFocus(user)) << "after the text and Next";

    ClickAt(PreviousButton(w));
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds().size() == 2; }));
    EXPECT_TRUE(UserKeepsTheFocus(user)) << "after Previous";

    // A double click on Next, then Previous again. The double click's second
    // press is a double-click message, which does nothing: one Next.
    SetCursorPos(NextButton(w).x, NextButton(w).y);
    ClickLeftButton();
    ClickLeftButton();
    ClickAt(PreviousButton(w));
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds().size() == 4; }))
        << "the double click and the click after it did not arrive";
    EXPECT_EQ(winamp.CommandIds(),
              (std::vector<WPARAM>{kWinampNext, kWinampPrevious, kWinampNext, kWinampPrevious}));
    EXPECT_TRUE(UserKeepsTheFocus(user)) << "after the double click";

    // Lyrics still opens the browser.
    ClickAt(LyricsButton(w));
    EXPECT_TRUE(urls.WaitForUrl()) << "the click on Lyrics opened nothing";
    EXPECT_TRUE(UserKeepsTheFocus(user)) << "after Lyrics";

    ParkCursor();
    ExitCleanly(*session.program);
}

TEST(Courtesy, AClickWhileThePopupGrowsInLeavesTheUsersWindowInFront) {
    Session session;
    ASSERT_NE(session.main, nullptr);
    FakeWinamp winamp("Winamp 5.9");
    UserWindow user;
    ASSERT_TRUE(user.TakeFocus());

    // The cursor where the text will be; the click comes as soon as the
    // growing pop-up is under it, well before it rests.
    const POINT point = TextArea();
    SetCursorPos(point.x, point.y);
    const std::string text = "Moving Artist\nMoving Song\nWinamp";
    const int w = PopupWidth(text);
    GeometryTrace trace(session.main);
    winamp.SetTitle("9. Moving Artist - Moving Song - Winamp");
    ASSERT_TRUE(trace.RecordUntil(
        [&](const Box& b) { return b.x <= point.x && point.x < b.Right() && b.width > 0; },
        kGenerousMs))
        << Describe(trace.Boxes());
    ASSERT_LT(trace.Last().x, kPopupAtRest.x) << "the grow-in was over before the click";
    ClickLeftButton();
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(w); }, kGenerousMs))
        << Describe(trace.Boxes());

    // Next, as the barrier that shows the click before it was handled.
    ClickAt(NextButton(w));
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds() == std::vector<WPARAM>{kWinampNext}; }));
    EXPECT_TRUE(UserKeepsTheFocus(user));

    ParkCursor();
    ExitCleanly(*session.program);
}

// ---------------------------------------------------------------------------
// Full-screen applications

TEST(Courtesy, ANewTrackOverAFullScreenAppMovesNothingUntilAskedFor) {
    Session session;
    ASSERT_NE(session.main, nullptr);
    FakeWinamp winamp("Winamp 5.9");
    FullScreenWindow film;
    ASSERT_TRUE(BringToForeground(film.Get()));

    // A track wide enough for eight tiles, so its pop-up shows it is this one.
    const std::string quiet = "An Artist Who Plays While A Film Runs Full Screen\n"
                              "A Song Long Enough To Need More Than Seven Tiles\nWinamp";
    const int wQuiet = PopupWidth(quiet);
    ASSERT_GT(wQuiet, 317);
    GeometryTrace trace(session.main);
    winamp.SetTitle("10. An Artist Who Plays While A Film Runs Full Screen - "
                    "A Song Long Enough To Need More Than Seven Tiles - Winamp");
    ASSERT_TRUE(session.Poll());
    trace.RecordFor(kTwoPolls);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{kHidden}) << Describe(trace.Boxes());

    // "Trackglow?" shows it on demand, and hides it again.
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(WaitForRest(session.main, wQuiet)) << WindowBox(session.main);
    session.program->PostCommand(kCommandToggle);
    ASSERT_TRUE(WaitUntil([&] { return IsSliver(WindowBox(session.main)); }))
        << WindowBox(session.main);

    // The film ends: the next track shows as usual.
    film.Close();
    const std::string next = "Back On The Desktop\nNext Song\nWinamp";
    winamp.SetTitle("11. Back On The Desktop - Next Song - Winamp");
    EXPECT_TRUE(WaitForRest(session.main, PopupWidth(next))) << WindowBox(session.main);

    ExitCleanly(*session.program);
}

TEST(Courtesy, WhileUpOverAFullScreenAppANewTrackDoesNotSwitchIt) {
    CRecorderRegistration browser;
    ASSERT_TRUE(browser.Active()) << "could not register recorder.exe";
    UrlLog urls;
    Session session;
    ASSERT_NE(session.main, nullptr);
    const std::string first = "First Artist\nFirst Song\nWinamp";
    const int w = PopupWidth(first);
    FakeWinamp winamp("12. First Artist - First Song - Winamp");
    ASSERT_TRUE(WaitForRest(session.main, w)) << WindowBox(session.main);
    // The cursor on Next keeps it up; then a game takes the screen.
    SetCursorPos(NextButton(w).x, NextButton(w).y);
    FullScreenWindow game;
    ASSERT_TRUE(BringToForeground(game.Get()));

    const std::string second = "A Second Artist With A Much Longer Name Than The First\n"
                               "And A Second Song To Go With It\nWinamp";
    winamp.SetTitle("13. A Second Artist With A Much Longer Name Than The First - "
                    "And A Second Song To Go With It - Winamp");
    ASSERT_TRUE(session.Poll());
    ASSERT_EQ(WindowBox(session.main), PopupAtRest(w));

    // Its Lyrics button searches for the track it shows.
    ClickAt(LyricsButton(w));
    ASSERT_TRUE(urls.WaitForUrl()) << "the click on Lyrics opened nothing";
    EXPECT_NE(urls.Url().find("First%20Artist"), std::string::npos) << urls.Url();
    EXPECT_EQ(urls.Url().find("Second"), std::string::npos) << urls.Url();
    SetCursorPos(NextButton(w).x, NextButton(w).y);

    // Had the poll started a switch, "Trackglow?" would be ignored while it
    // runs and the pop-up would shrink into its right edge. Up and still, the
    // pop-up collapses at once instead, about its middle line.
    ASSERT_TRUE(session.program->SendCommand(kCommandToggle));
    GeometryTrace trace(session.main);
    ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b != PopupAtRest(w); }, kGenerousMs));
    EXPECT_EQ(trace.Last().x, kPopupAtRest.x) << Describe(trace.Boxes());
    EXPECT_EQ(trace.Last().width, w) << Describe(trace.Boxes());
    EXPECT_LT(trace.Last().height, kPopupAtRest.height) << Describe(trace.Boxes());
    ASSERT_TRUE(trace.RecordUntil(IsSliver, kGenerousMs)) << Describe(trace.Boxes());

    // On demand it shows the track that came meanwhile.
    ParkCursor();
    session.program->PostCommand(kCommandToggle);
    EXPECT_TRUE(WaitForRest(session.main, PopupWidth(second))) << WindowBox(session.main);

    ExitCleanly(*session.program);
}

TEST(Courtesy, AMaximisedWindowWithACaptionIsNotFullScreen) {
    Session session;
    ASSERT_NE(session.main, nullptr);
    FakeWinamp winamp("Winamp 5.9");
    DriverWindow editor(WS_OVERLAPPEDWINDOW, 100, 100, 400, 300);
    ShowWindow(editor.Get(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(BringToForeground(editor.Get()));
    // What makes it no full-screen application: its caption takes the top
    // of the screen from its client area.
    POINT clientTop{0, 0};
    ClientToScreen(editor.Get(), &clientTop);
    ASSERT_GT(clientTop.y, 0);
    ASSERT_TRUE(IsZoomed(editor.Get()));

    const std::string text = "Working Artist\nOffice Song\nWinamp";
    winamp.SetTitle("14. Working Artist - Office Song - Winamp");
    EXPECT_TRUE(WaitForRest(session.main, PopupWidth(text))) << WindowBox(session.main);

    ExitCleanly(*session.program);
}

TEST(Courtesy, WithFullscreenOneTheTrackShowsOverAFullScreenApp) {
    Session session(Settings("fullscreen=1\r\n"));
    ASSERT_NE(session.main, nullptr);
    FakeWinamp winamp("Winamp 5.9");
    FullScreenWindow film;
    ASSERT_TRUE(BringToForeground(film.Get()));

    const std::string text = "Loud Artist\nShown Anyway\nWinamp";
    winamp.SetTitle("15. Loud Artist - Shown Anyway - Winamp");
    EXPECT_TRUE(WaitForRest(session.main, PopupWidth(text))) << WindowBox(session.main);

    ExitCleanly(*session.program);
}
