// Start-up and shutdown of the whole program: the invisible topmost main
// window, the keys that must not close it, Exit, a second instance, and the
// settings file — kept intact, created on first start, and survived when it
// is hostile or cannot be written.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/TestBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;
using testbytes::Bytes;
using testbytes::RandomBytes;

namespace {

const char kDefaultSettings[] = "[PREFERENCES]\r\nskin=Default Skin 1\r\n\r\n";

// Everything but the skins folder (which the dist may or may not hold yet).
std::vector<std::string> EntriesBesideSkins(const TestInstall& install) {
    std::vector<std::string> entries = install.Entries();
    entries.erase(std::remove(entries.begin(), entries.end(), "interface"), entries.end());
    return entries;
}

} // namespace

TEST(Startup, MainWindowIsAnInvisibleTopmostDialogWithoutTaskbarButton) {
    TestInstall install(kDefaultSettings);
    RunningProgram program(install);
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "no main window appeared";

    const WindowInfo info = DescribeWindow(main);
    EXPECT_EQ(info.className, "#32770");
    EXPECT_TRUE(info.exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(info.exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(info.style & WS_POPUP);
    EXPECT_FALSE(info.style & WS_CAPTION);
    EXPECT_EQ(WindowBox(main), (Box{0, 0, 0, 0}));

    // With no player to watch nothing moves it.
    GeometryTrace trace(main);
    trace.RecordFor(1500);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{(Box{0, 0, 0, 0})}) << Describe(trace.Boxes());

    HWND tray = program.FindTrayWindow();
    ASSERT_NE(tray, nullptr) << "no hidden 10 x 10 tray window";
    EXPECT_EQ(WindowBox(tray), (Box{0, 0, 10, 10}));
    EXPECT_EQ(DescribeWindow(tray).style & ~WS_CLIPSIBLINGS, WS_POPUP);

    ExitCleanly(program);
}

TEST(Startup, EnterEscOkAndCancelLeaveItRunning) {
    TestInstall install(kDefaultSettings);
    RunningProgram program(install);
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    PostKey(main, VK_RETURN);
    PostKey(main, VK_ESCAPE);
    PostMessageA(main, WM_COMMAND, IDOK, 0);
    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    // Give a closing dialog every chance to end the process.
    WaitForInputIdle(program.Process(), kGenerousMs);
    PumpFor(1500);

    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(program.IsResponsive());
    ExitCleanly(program);
}

TEST(Startup, ExitEndsTheProcessWithCodeZero) {
    TestInstall install(kDefaultSettings);
    RunningProgram program(install);
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    ExitCleanly(program);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(program.Windows().empty());
}

TEST(Startup, ExitChosenFromTheTrayMenuEndsTheProcess) {
    TestInstall install(kDefaultSettings);
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);

    // Esc closes the menu without a command.
    program.PostTrayNotify(WM_RBUTTONUP);
    HWND menu = program.WaitForPopupMenu();
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    PumpFor(500);
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(program.IsResponsive());

    program.PostTrayNotify(WM_RBUTTONUP);
    ASSERT_NE(program.WaitForPopupMenu(), nullptr);
    TypeText("x"); // E&xit
    const std::optional<DWORD> code = program.WaitForExit();
    ASSERT_TRUE(code.has_value()) << "Exit from the menu did not end the program";
    EXPECT_EQ(*code, 0u);
}

TEST(Startup, SecondInstanceRunsBesideTheFirst) {
    TestInstall install(kDefaultSettings);
    RunningProgram first(install);
    ASSERT_NE(first.WaitForMainWindow(), nullptr);
    RunningProgram second(install);
    ASSERT_NE(second.WaitForMainWindow(), nullptr) << "the second instance did not come up";

    EXPECT_NE(first.MainWindow(), second.MainWindow());
    EXPECT_NE(first.FindTrayWindow(), nullptr);
    EXPECT_NE(second.FindTrayWindow(), nullptr);

    // Each ends on its own.
    ExitCleanly(first);
    EXPECT_TRUE(second.IsRunning());
    EXPECT_TRUE(second.IsResponsive());
    ExitCleanly(second);
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
    TestInstall install(settings);
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    PumpFor(1000);
    EXPECT_EQ(install.ReadSettings(), settings);

    ExitCleanly(program);
    EXPECT_EQ(install.ReadSettings(), settings);
    EXPECT_EQ(EntriesBesideSkins(install),
              (std::vector<std::string>{"settings.ini", "trackglow.exe"}));
}

TEST(StartupSettings, FirstStartWritesTheDefaultSettings) {
    TestInstall install;
    ASSERT_FALSE(install.ReadSettings().has_value());
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);

    EXPECT_TRUE(WaitUntil([&] { return install.ReadSettings().has_value(); }))
        << "no settings.ini was created";
    EXPECT_EQ(install.ReadSettings(), std::string(kDefaultSettings));
    // Saved in one piece: no temporary file is left beside it.
    EXPECT_EQ(EntriesBesideSkins(install),
              (std::vector<std::string>{"settings.ini", "trackglow.exe"}));
    ExitCleanly(program);
}

struct HostileSettings {
    const char* name;
    std::string bytes;
};

void PrintTo(const HostileSettings& settings, std::ostream* out) {
    *out << settings.name;
}

class StartupWithHostileSettings : public testing::TestWithParam<HostileSettings> {};

TEST_P(StartupWithHostileSettings, StartsAndExitsNormally) {
    TestInstall install(GetParam().bytes);
    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr) << "start-up did not finish";
    PumpFor(1000);
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(program.IsResponsive());
    ExitCleanly(program);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartupWithHostileSettings,
    testing::Values(
        HostileSettings{"RandomBytes2MB", RandomBytes(2 * 1024 * 1024, 20240601)},
        HostileSettings{"OneLine100KBWithoutLineEnd",
                        "[PREFERENCES]\r\nskin=" + std::string(100 * 1024, 'x')},
        HostileSettings{"HeaderLine100KBWithoutLineEnd", "[" + std::string(100 * 1024, 'P')},
        HostileSettings{"NulBytesInsideKeysAndValues",
                        Bytes("[PREFER\0ENCES]\r\nsk\0in=Default\0Skin 1\r\n\0\0\0\r\n")},
        HostileSettings{"OnlyNulBytes", std::string(4096, '\0')},
        HostileSettings{"EmptyFile", std::string()}),
    [](const testing::TestParamInfo<HostileSettings>& param) { return param.param.name; });

TEST(StartupSettings, ReadOnlySettingsFolderStillRuns) {
    // No skin named yet, so start-up tries to save the default one.
    const std::string settings = "[PREFERENCES]\r\nenwinamp=0\r\n";
    TestInstall install(settings);
    SetReadOnly(install.SettingsPath(), true);
    SetReadOnly(install.Folder(), true);

    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    PumpFor(1000);
    EXPECT_TRUE(program.IsResponsive());
    ExitCleanly(program);

    // Whether or not the system let the save through, the file is whole.
    const std::optional<std::string> after = install.ReadSettings();
    ASSERT_TRUE(after.has_value());
    if (*after != settings) {
        EXPECT_NE(after->find("skin=Default Skin 1\r\n"), std::string::npos) << *after;
        EXPECT_NE(after->find("enwinamp=0\r\n"), std::string::npos) << *after;
    }
}

TEST(StartupSettings, SettingsFileLockedByAnotherProgramStillRuns) {
    const std::string settings = "[PREFERENCES]\r\nenwinamp=0\r\n";
    TestInstall install(settings);
    // Opened for reading without sharing: the program can neither read nor
    // replace the file while the test holds it.
    UniqueHandle lock(CreateFileA(install.SettingsPath().c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.Valid());

    RunningProgram program(install);
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    PumpFor(1000);
    EXPECT_TRUE(program.IsResponsive());
    ExitCleanly(program);

    lock.Reset();
    EXPECT_EQ(install.ReadSettings(), settings) << "a failed save changed the file";
    EXPECT_EQ(EntriesBesideSkins(install),
              (std::vector<std::string>{"settings.ini", "trackglow.exe"}))
        << "a failed save left a file behind";
}
