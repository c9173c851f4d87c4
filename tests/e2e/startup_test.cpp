// Start-up and shutdown of the whole program: the invisible topmost main
// window, the keys that must not close it, Exit, a second instance, and the
// settings file — created on first start, kept intact, and left alone when
// it cannot be written.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/PopupFace.h"
#include "support/PopupPlace.h"
#include "support/Session.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

const char kDefaultSettings[] = "[PREFERENCES]\r\nskin=Default Skin 1\r\n\r\n";

// Everything but the skins folder.
std::vector<std::string> EntriesBesideSkins(const TestInstall& install) {
    std::vector<std::string> entries = install.Entries();
    entries.erase(std::remove(entries.begin(), entries.end(), "interface"), entries.end());
    return entries;
}

} // namespace

TEST(Startup, MainWindowIsAnInvisibleTopmostDialogThatKeysDoNotClose) {
    Session session(kDefaultSettings);
    HWND main = session.Main();

    const WindowInfo info = DescribeWindow(main);
    EXPECT_EQ(info.className, "#32770");
    EXPECT_TRUE(info.exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(info.exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(info.style & WS_POPUP);
    EXPECT_FALSE(info.style & WS_CAPTION);
    EXPECT_EQ(WindowBox(main), (Box{0, 0, 0, 0}));

    // With no player to watch a poll moves nothing.
    EXPECT_TRUE(session.PollShowsNothing());

    // Enter, Esc, OK and Cancel leave it running: the toggle posted after
    // them is still carried out.
    PostKey(main, VK_RETURN);
    PostKey(main, VK_ESCAPE);
    PostMessageA(main, WM_COMMAND, IDOK, 0);
    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    session.Program().PostCommand(kCommandToggle);
    EXPECT_EQ(session.WaitForRest(317), 317) << "the program did not carry on";

    // Exit ends the process with code 0 and leaves no window behind.
    session.Exit();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(session.Program().Windows().empty());
}

TEST(Startup, ASecondInstanceRunsBesideTheFirstAndEachEndsOnItsOwn) {
    const std::string settings =
        "[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n\r\n";
    Session session(settings);
    RunningProgram second(session.Install());
    HWND two = second.WaitForMainWindow();
    ASSERT_NE(two, nullptr) << "the second instance did not come up";
    ASSERT_NE(two, session.Main());

    // Both watch the same player, and both bring its track in.
    FakeWinamp winamp("1. Twice - The Same Song - Winamp");
    ASSERT_TRUE(session.Program().TickPoll());
    ASSERT_TRUE(second.TickPoll());
    const Box rest = PopupAtRest(RestingWidth("Twice\nThe Same Song\nWinamp"));
    EXPECT_TRUE(WaitUntil([&] { return WindowBox(session.Main()) == rest; }));
    EXPECT_TRUE(WaitUntil([&] { return WindowBox(two) == rest; }));

    // The first ends; the second goes on showing tracks.
    session.Exit();
    winamp.SetTitle("2. Alone - Now - Winamp");
    ASSERT_TRUE(second.TickPoll());
    EXPECT_TRUE(WaitUntil([&] {
        return WindowBox(two) == PopupAtRest(RestingWidth("Alone\nNow\nWinamp"));
    })) << WindowBox(two);
    ExitCleanly(second);
    EXPECT_EQ(session.Install().ReadSettings(), settings);
}

TEST(StartupSettings, FirstStartWritesTheDefaultSettingsAndWearsTheDefaultSkin) {
    Session session(std::nullopt);
    EXPECT_EQ(session.Install().ReadSettings(), std::string(kDefaultSettings));
    // Saved in one piece: no temporary file is left beside it.
    EXPECT_EQ(EntriesBesideSkins(session.Install()),
              (std::vector<std::string>{"settings.ini", "trackglow.exe"}));

    session.Program().PostCommand(kCommandToggle);
    EXPECT_TRUE(ShowsFace(session.Main(), PopupFace(session.Install(), DefaultSkinLook(), 317),
                          "skin-first-start"));
    SaveScreenshot("skin-first-start", RECT{0, 0, kPopupAtRest.Right() + 32, 130});
}

TEST(StartupSettings, FileWithUnknownSectionsSurvivesUnchanged) {
    const std::string settings = "; edited by hand\r\n"
                                 "[PREFERENCES]\r\n"
                                 "skin=Default Skin 1\r\n"
                                 "enwinamp=0\r\n"
                                 "enwmp=0\r\n"
                                 "colour=teal\r\n"
                                 "\r\n"
                                 "[Window Positions]\r\n"
                                 "left=12\r\n"
                                 "formula=a=b\r\n"
                                 "a line without an equals sign\r\n"
                                 "\r\n"
                                 "[preferences]\r\n"
                                 "skin=Lower Case Twin\r\n";
    Session session(settings);
    EXPECT_EQ(session.Install().ReadSettings(), settings);
    session.Exit();
    EXPECT_EQ(session.Install().ReadSettings(), settings);
    EXPECT_EQ(EntriesBesideSkins(session.Install()),
              (std::vector<std::string>{"settings.ini", "trackglow.exe"}));
}

TEST(StartupSettings, SettingsFileLockedByAnotherProgramIsLeftAlone) {
    // No skin named yet, so start-up tries to save the default one.
    const std::string settings = "[PREFERENCES]\r\nenwinamp=0\r\n";
    // Opened for reading without sharing: the program can neither read nor
    // replace the file while the test holds it.
    UniqueHandle lock;
    Session session(settings, [&](const TestInstall& install) {
        lock.Reset(CreateFileA(install.SettingsPath().c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    });
    ASSERT_TRUE(lock.Valid());
    session.Exit();

    lock.Reset();
    EXPECT_EQ(session.Install().ReadSettings(), settings) << "a failed save changed the file";
    EXPECT_EQ(EntriesBesideSkins(session.Install()),
              (std::vector<std::string>{"settings.ini", "trackglow.exe"}))
        << "a failed save left a file behind";
}
