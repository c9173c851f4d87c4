// The pop-up's manners, end to end: real clicks on it (through the system's
// input queue) leave the user's window in front with the keyboard focus while
// the buttons still do their work; over a full-screen application a new track
// moves nothing until the user asks for it, unless the settings say
// fullscreen=1.
#include "support/E2e.h"
#include "support/LyricsUrl.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"
#include "support/Session.h"

#include "tests/fakes/recorder/RecorderLog.h"
#include "tests/fakes/recorder/RecorderRegistration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace e2e;

namespace {

[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

// A session in the flat skin, watching Winamp; the cursor parked at the end.
struct CourtesySession : Session {
    explicit CourtesySession(const std::string& extraSettings = "")
        : Session("[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n" + extraSettings +
                      "\r\n",
                  InstallFlatSkin) {}
    ~CourtesySession() { ParkCursor(); }
    bool WaitForRest(const std::string& text) const {
        return Session::WaitForRest(RestingWidth(text)) > 0;
    }
};

// Points on the screen of the pop-up at rest, `w` wide: the text, the buttons.
POINT Text() {
    return POINT{kPopupAtRest.x + 30, kPopupAtRest.y + 20};
}
POINT Button(int w, int row) { // 0 Previous, 1 Next, 2 Lyrics
    return POINT{kPopupAtRest.x + w - 14, kPopupAtRest.y + 14 + 19 * row};
}

void ClickAt(POINT point, int clicks = 1) {
    SetCursorPos(point.x, point.y);
    for (int i = 0; i < clicks; ++i)
        ClickLeftButton();
}

// A top-level window of the driver, destroyed with the object.
struct Window {
    HWND handle;
    Window(const char* className, DWORD style, int x, int y, int w, int h)
        : handle(CreateWindowExA(0, className, "", style | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr)) {}
    ~Window() { Close(); }
    void Close() {
        if (handle)
            DestroyWindow(handle);
        handle = nullptr;
    }
};

// A game or a film: a borderless window whose client area is the whole screen.
struct FullScreenWindow : Window {
    FullScreenWindow()
        : Window("STATIC", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN)) {}
};

// The window the user types in: an edit box of its own, in front with the focus.
testing::AssertionResult KeepsTheFocus(const Window& user) {
    if (GetForegroundWindow() != user.handle || GetActiveWindow() != user.handle)
        return testing::AssertionFailure() << "the foreground went to a window of class "
                                           << DescribeWindow(GetForegroundWindow()).className;
    if (GetFocus() != user.handle)
        return testing::AssertionFailure() << "the user's window lost the keyboard focus";
    return testing::AssertionSuccess();
}

} // namespace

TEST(Courtesy, ClicksOnThePopupLeaveTheUsersWindowInFrontAndStillWork) {
    CRecorderRegistration browser;
    ASSERT_TRUE(browser.Active()) << "could not register recorder.exe";
    UrlLog urls;
    CourtesySession session;
    FakeWinamp winamp("Winamp 5.9");
    Window user("EDIT", WS_OVERLAPPEDWINDOW, 700, 450, 400, 120);
    ASSERT_TRUE(BringToForeground(user.handle));
    SetFocus(user.handle);
    ASSERT_TRUE(KeepsTheFocus(user));

    // A click on the text as the pop-up grows in under the cursor (or, on a
    // busy machine, just after).
    SetCursorPos(Text().x, Text().y);
    const std::string text = "Polite Artist\nQuiet Song\nWinamp";
    const int w = RestingWidth(text);
    GeometryTrace trace(session.Main());
    winamp.SetTitle("8. Polite Artist - Quiet Song - Winamp");
    ASSERT_TRUE(trace.RecordUntil(
        [](const Box& b) { return b.x < Text().x && Text().x < b.Right(); }, kGenerousMs));
    ClickLeftButton();
    ASSERT_TRUE(session.WaitForRest(text)) << WindowBox(session.Main());

    // Next, then Previous; each also shows that the clicks before it were
    // handled. Then a double click on Next (two presses: two Nexts) and
    // Previous again.
    ClickAt(Button(w, 1));
    ClickAt(Button(w, 0));
    ClickAt(Button(w, 1), 2);
    ClickAt(Button(w, 0));
    ASSERT_TRUE(WaitUntil([&] { return winamp.CommandIds().size() == 5; }));
    EXPECT_EQ(winamp.CommandIds(), (std::vector<WPARAM>{kWinampNext, kWinampPrevious, kWinampNext,
                                                        kWinampNext, kWinampPrevious}));
    EXPECT_TRUE(KeepsTheFocus(user));

    // Lyrics still opens the browser.
    ClickAt(Button(w, 2));
    EXPECT_NE(urls.WaitForLine(1).find("Polite%20Artist"), std::string::npos);
    EXPECT_TRUE(KeepsTheFocus(user));
}

TEST(Courtesy, OverAFullScreenAppANewTrackMovesNothingUntilAskedFor) {
    CRecorderRegistration browser;
    ASSERT_TRUE(browser.Active()) << "could not register recorder.exe";
    UrlLog urls;
    CourtesySession session;
    FakeWinamp winamp("Winamp 5.9");
    FullScreenWindow film;
    ASSERT_TRUE(BringToForeground(film.handle));

    // A new track: the poll has seen it (the toggle below shows it), and
    // nothing moves.
    const std::string first = "First Artist\nFirst Song\nWinamp";
    winamp.SetTitle("12. First Artist - First Song - Winamp");
    EXPECT_TRUE(session.PollShowsNothing());
    EXPECT_EQ(WindowBox(session.Main()), (Box{0, 0, 0, 0}));

    // "Trackglow?" shows it; the cursor on Next keeps it up.
    session.Program().PostCommand(kCommandToggle);
    ASSERT_TRUE(session.WaitForRest(first)) << WindowBox(session.Main());
    const int w = RestingWidth(first);
    SetCursorPos(Button(w, 1).x, Button(w, 1).y);

    // Up, it does not switch to the next track either; its Lyrics button
    // still searches for the track it shows.
    winamp.SetTitle("13. A Second Artist With A Much Longer Name Than The First - "
                    "And A Second Song To Go With It - Winamp");
    ASSERT_TRUE(session.PollShowsNothing());
    ClickAt(Button(w, 2));
    const std::string url = urls.WaitForLine(1);
    EXPECT_NE(url.find("First%20Artist"), std::string::npos) << url;
    EXPECT_EQ(url.find("Second"), std::string::npos) << url;

    // The film ends: the next track shows as usual.
    ParkCursor();
    film.Close();
    winamp.SetTitle("14. Back On The Desktop - Next Song - Winamp");
    EXPECT_TRUE(session.WaitForRest("Back On The Desktop\nNext Song\nWinamp"))
        << WindowBox(session.Main());
}

TEST(Courtesy, AMaximisedWindowWithACaptionIsNotFullScreen) {
    CourtesySession session;
    FakeWinamp winamp("Winamp 5.9");
    Window editor("STATIC", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300);
    ShowWindow(editor.handle, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(BringToForeground(editor.handle));
    // Its caption takes the top of the screen from its client area.
    POINT clientTop{0, 0};
    ClientToScreen(editor.handle, &clientTop);
    ASSERT_TRUE(IsZoomed(editor.handle));
    ASSERT_GT(clientTop.y, 0);

    winamp.SetTitle("15. Working Artist - Office Song - Winamp");
    EXPECT_TRUE(session.WaitForRest("Working Artist\nOffice Song\nWinamp"))
        << WindowBox(session.Main());
}

TEST(Courtesy, WithFullscreenOneTheTrackShowsOverAFullScreenApp) {
    CourtesySession session("fullscreen=1\r\n");
    FakeWinamp winamp("Winamp 5.9");
    FullScreenWindow film;
    ASSERT_TRUE(BringToForeground(film.handle));

    winamp.SetTitle("16. Loud Artist - Shown Anyway - Winamp");
    EXPECT_TRUE(session.WaitForRest("Loud Artist\nShown Anyway\nWinamp"))
        << WindowBox(session.Main());
}
