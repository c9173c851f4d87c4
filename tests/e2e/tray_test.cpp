// The tray icon of the running program, driven from outside: the icon in the
// shell's tray, its callback message, the menu it opens (read on the screen
// and driven with the keyboard, since another process cannot read its
// items under Wine), and Exit.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"

#include "core/PopupLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr char kSignalSkin[] = "Signal";
const Rgb kSignalTile{230, 20, 140};
const char kSettings[] = "[PREFERENCES]\r\nskin=Signal\r\nenwinamp=0\r\nenwmp=0\r\n";

const Box kHiddenAtStart{0, 0, 0, 0};

// Somewhere no window of the program is, so no button of the pop-up is hovered.
constexpr POINT kCursorAway{900, 600};

// An install whose skin has one solid tile colour and white text, so any
// text drawn on the pop-up shows.
class SignalInstall : public TestInstall {
  public:
    SignalInstall() : TestInstall(kSettings) {
        AddFlatSkin(*this, kSignalSkin, kSignalTile, "text=00FFFFFF\r\nborder=0000FF00\r\n");
    }
};

// Wine's stand-alone tray window shows each icon as a child window of its own.
std::vector<HWND> ShellTrayIcons() {
    std::vector<HWND> icons;
    HWND tray = FindWindowA(nullptr, "Wine System Tray");
    for (HWND child = tray ? GetWindow(tray, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) {
            icons.push_back(child);
        }
    }
    return icons;
}

// The tray icon that is in `now` but was not in `before` (null if none).
HWND NewIcon(const std::vector<HWND>& before, const std::vector<HWND>& now) {
    for (HWND icon : now) {
        if (std::find(before.begin(), before.end(), icon) == before.end()) {
            return icon;
        }
    }
    return nullptr;
}

// The program's open menu: a visible window of the menu class.
HWND FindMenu(const RunningProgram& program) {
    for (const WindowInfo& info : program.Windows()) {
        if (info.className == "#32768" && info.visible) {
            return info.window;
        }
    }
    return nullptr;
}

bool WaitForNoMenu(const RunningProgram& program) {
    return WaitUntil([&] { return FindMenu(program) == nullptr; });
}

std::vector<std::string> DialogTitles(const RunningProgram& program) {
    std::vector<std::string> titles;
    for (HWND dialog : program.OtherDialogs()) {
        titles.push_back(DescribeWindow(dialog).title);
    }
    return titles;
}

// Opens the tray menu as the shell would on a right-button release over the icon.
HWND OpenMenu(const RunningProgram& program) {
    program.PostTrayNotify(WM_RBUTTONUP);
    return program.WaitForPopupMenu();
}

void ClickRightButton(bool down, bool up) {
    INPUT inputs[2] = {};
    UINT count = 0;
    if (down) {
        inputs[count].type = INPUT_MOUSE;
        inputs[count++].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    }
    if (up) {
        inputs[count].type = INPUT_MOUSE;
        inputs[count++].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    }
    SendInput(count, inputs, sizeof(INPUT));
}

// The whole pop-up at rest, then all of its text area the tile colour: no
// text was drawn.
void ExpectEmptyPopupAtRest(HWND main) {
    GeometryTrace trace(main);
    ASSERT_TRUE(trace.RecordUntil([](const Box& box) { return box == kPopupAtRest; }, kGenerousMs))
        << Describe(trace.Boxes());
    PumpFor(300); // the last paint
    const PopupLayout layout = ComputePopupLayout(0);
    // The text area left of the button column and the caption.
    const RECT text{kPopupAtRest.x + layout.text.left, kPopupAtRest.y + layout.text.top,
                    kPopupAtRest.x + layout.caption.left, kPopupAtRest.y + layout.text.bottom};
    const ScreenCapture capture(text);
    EXPECT_EQ(capture.Count(kSignalTile), capture.Width() * capture.Height())
        << "something was drawn in the text area of an empty pop-up";
}

// Hides the pop-up with the toggle command; the command is ignored while an
// animation still runs, so it is repeated until the hide has begun.
void HideWithToggle(const RunningProgram& program, UINT mouseMessage, HWND target) {
    HWND main = program.MainWindow();
    bool started = false;
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
        program.PostTrayNotify(mouseMessage, kTrayIconId, target);
        started = WaitUntil([&] { return WindowBox(main).height < kPopupAtRest.height; }, 3000);
    }
    ASSERT_TRUE(started) << "the pop-up did not start to hide";
    // Collapsed into a sliver 6 pixels high at the top-left corner (one pixel
    // wide, the width being odd).
    ASSERT_TRUE(WaitUntil([&] { return WindowBox(main).x == 0 && WindowBox(main).y == 0; }))
        << WindowBox(main);
    EXPECT_EQ(WindowBox(main), (Box{0, 0, 1, 6}));
}

class Tray : public testing::Test {
  protected:
    void SetUp() override {
        SetCursorPos(kCursorAway.x, kCursorAway.y);
        m_iconsBefore = ShellTrayIcons();
        m_program = std::make_unique<RunningProgram>(m_install);
        ASSERT_NE(m_program->WaitForMainWindow(), nullptr) << "no main window appeared";
        // Wine's tray window sits over the pop-up's resting place.
        WaitUntil([] { return FindWindowA(nullptr, "Wine System Tray") != nullptr; });
        MoveWineSystemTrayAway();
    }

    // Nothing happened: no pop-up, no dialog, no menu, and the program still answers.
    void ExpectIdle() const {
        PumpFor(1000);
        EXPECT_EQ(WindowBox(m_program->MainWindow()), kHiddenAtStart);
        EXPECT_TRUE(m_program->OtherDialogs().empty())
            << testing::PrintToString(DialogTitles(*m_program));
        EXPECT_EQ(FindMenu(*m_program), nullptr);
        EXPECT_TRUE(m_program->IsRunning());
        EXPECT_TRUE(m_program->IsResponsive());
    }

    SignalInstall m_install;
    std::vector<HWND> m_iconsBefore;
    std::unique_ptr<RunningProgram> m_program;
};

TEST_F(Tray, TheShellShowsTheIconAndExitRemovesItAndEndsWithCodeZero) {
    HWND icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = NewIcon(m_iconsBefore, ShellTrayIcons())); }))
        << "no new icon in the shell's tray";
    EXPECT_EQ(ShellTrayIcons().size(), m_iconsBefore.size() + 1);

    // The hidden window that receives the icon's notifications.
    HWND tray = m_program->FindTrayWindow();
    ASSERT_NE(tray, nullptr);
    const WindowInfo info = DescribeWindow(tray);
    EXPECT_EQ(WindowBox(tray), (Box{0, 0, 10, 10}));
    EXPECT_EQ(info.style & ~WS_CLIPSIBLINGS, WS_POPUP);
    EXPECT_FALSE(info.visible);
    EXPECT_EQ(info.title, "");

    ExitCleanly(*m_program);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(icon); })) << "the icon stayed in the tray";
    EXPECT_EQ(ShellTrayIcons().size(), m_iconsBefore.size());
}

TEST_F(Tray, ARightClickOnTheIconOpensTheMenuOnReleaseAtTheCursor) {
    HWND icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = NewIcon(m_iconsBefore, ShellTrayIcons())); }));
    RECT iconRect = {};
    GetWindowRect(icon, &iconRect);
    const POINT centre{(iconRect.left + iconRect.right) / 2, (iconRect.top + iconRect.bottom) / 2};
    SetCursorPos(centre.x, centre.y);
    PumpFor(100);

    // Pressing the button opens nothing.
    ClickRightButton(true, false);
    PumpFor(1000);
    EXPECT_EQ(FindMenu(*m_program), nullptr);

    // Releasing it opens the menu with its top-left corner at the cursor,
    // or as near as the screen allows.
    ClickRightButton(false, true);
    HWND menu = m_program->WaitForPopupMenu();
    ASSERT_NE(menu, nullptr) << "no menu opened";
    PumpFor(300);
    const Box box = WindowBox(menu);
    EXPECT_GT(box.width, 0);
    EXPECT_GT(box.height, 0);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(box.x == centre.x || box.Right() == centre.x ||
                (box.x < centre.x && box.Right() == screenWidth))
        << box << " for the cursor at " << centre.x << "," << centre.y;
    EXPECT_TRUE(box.y == centre.y || box.Bottom() == centre.y ||
                (box.y < centre.y && box.Bottom() == screenHeight))
        << box << " for the cursor at " << centre.x << "," << centre.y;

    // The menu over the shell's tray, for a person to look at.
    RECT shot = {std::min<LONG>(box.x, iconRect.left) - 24,
                 std::min<LONG>(box.y, iconRect.top) - 24,
                 std::max<LONG>(box.Right(), iconRect.right) + 24,
                 std::max<LONG>(box.Bottom(), iconRect.bottom) + 24};
    SaveScreenshot("tray-menu-over-icon", shot);

    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForNoMenu(*m_program));
    ExpectIdle();
    ExitCleanly(*m_program);
}

TEST_F(Tray, EscapeClosesTheMenuWithoutACommandAndItOpensAgain) {
    // The shell's tray in open space and the cursor just off the icon's
    // corner, so the picture shows both the icon and its menu.
    HWND icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = NewIcon(m_iconsBefore, ShellTrayIcons())); }));
    HWND shellTray = FindWindowA(nullptr, "Wine System Tray");
    SetWindowPos(shellTray, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(300);
    RECT iconRect = {};
    GetWindowRect(icon, &iconRect);
    const POINT cursor{iconRect.right + 2, iconRect.bottom + 2};
    SetCursorPos(cursor.x, cursor.y);

    HWND menu = OpenMenu(*m_program);
    ASSERT_NE(menu, nullptr) << "no menu opened";
    PumpFor(300);
    const Box box = WindowBox(menu);
    EXPECT_EQ(box.x, cursor.x);
    EXPECT_EQ(box.y, cursor.y);
    RECT trayRect = {};
    GetWindowRect(shellTray, &trayRect);
    SaveScreenshot("tray-menu", RECT{std::min<LONG>(trayRect.left, box.x) - 16,
                                     std::min<LONG>(trayRect.top, box.y) - 16,
                                     std::max<LONG>(trayRect.right, box.Right()) + 16,
                                     std::max<LONG>(trayRect.bottom, box.Bottom()) + 16});

    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForNoMenu(*m_program)) << "Esc did not close the menu";
    ExpectIdle();

    // Clicked away instead (the menu's loop sees a click outside it).
    menu = OpenMenu(*m_program);
    ASSERT_NE(menu, nullptr) << "the menu did not open a second time";
    SetCursorPos(kCursorAway.x, kCursorAway.y);
    ClickLeftButton();
    EXPECT_TRUE(WaitForNoMenu(*m_program)) << "a click elsewhere did not close the menu";
    ExpectIdle();
    ExitCleanly(*m_program);
}

TEST_F(Tray, NotificationsThatAreNotADoubleClickOrRightReleaseDoNothing) {
    // Another icon's identifier.
    m_program->PostTrayNotify(WM_RBUTTONUP, 5);
    m_program->PostTrayNotify(WM_LBUTTONDBLCLK, 5);
    m_program->PostTrayNotify(WM_LBUTTONDBLCLK, 0, m_program->FindTrayWindow());
    // Single clicks, presses and moves over this icon.
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MOUSEMOVE, WM_MBUTTONUP}) {
        m_program->PostTrayNotify(mouse);
        m_program->PostTrayNotify(mouse, kTrayIconId, m_program->FindTrayWindow());
    }
    ExpectIdle();
    ExitCleanly(*m_program);
}

TEST_F(Tray, DoubleClickShowsTheEmptyPopupAndHidesItAgain) {
    // Through the main window, as the message map routes it.
    m_program->PostTrayNotify(WM_LBUTTONDBLCLK);
    ExpectEmptyPopupAtRest(m_program->MainWindow());
    HideWithToggle(*m_program, WM_LBUTTONDBLCLK, nullptr);

    // Through the tray window, where the shell sends it.
    HWND tray = m_program->FindTrayWindow();
    ASSERT_NE(tray, nullptr);
    m_program->PostTrayNotify(WM_LBUTTONDBLCLK, kTrayIconId, tray);
    ExpectEmptyPopupAtRest(m_program->MainWindow());
    HideWithToggle(*m_program, WM_LBUTTONDBLCLK, tray);

    EXPECT_TRUE(m_program->OtherDialogs().empty());
    ExitCleanly(*m_program);
}

TEST_F(Tray, KeysInTheLiveMenuRunTheChosenCommand) {
    // The accelerator of "&About".
    ASSERT_NE(OpenMenu(*m_program), nullptr);
    TypeText("a");
    HWND about = m_program->WaitForDialog("About Trackglow");
    ASSERT_NE(about, nullptr) << "A in the menu opened no About box";
    EXPECT_TRUE(WaitForNoMenu(*m_program));
    PostKey(about, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return m_program->OtherDialogs().empty(); }));

    // Down to the first item, "&Trackglow?", and Enter: the pop-up shows.
    ASSERT_NE(OpenMenu(*m_program), nullptr);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ExpectEmptyPopupAtRest(m_program->MainWindow());
    HideWithToggle(*m_program, WM_LBUTTONDBLCLK, nullptr);

    // Down twice, to "&Preferences".
    ASSERT_NE(OpenMenu(*m_program), nullptr);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    HWND preferences = m_program->WaitForDialog("Preferences");
    ASSERT_NE(preferences, nullptr) << "Down, Down, Enter opened no Preferences dialog";
    PostKey(preferences, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return m_program->OtherDialogs().empty(); }));

    // The accelerator of "E&xit".
    HWND icon = NewIcon(m_iconsBefore, ShellTrayIcons());
    ASSERT_NE(OpenMenu(*m_program), nullptr);
    TypeText("x");
    const std::optional<DWORD> code = m_program->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "X in the menu did not end the program";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return icon == nullptr || !IsWindow(icon); }));
}

TEST_F(Tray, TheMenuStillWorksWhileTheAboutBoxIsOpen) {
    m_program->PostCommand(kCommandAbout);
    HWND first = m_program->WaitForDialog("About Trackglow");
    ASSERT_NE(first, nullptr);

    ASSERT_NE(OpenMenu(*m_program), nullptr) << "no menu while the About box is open";
    TypeText("a");
    ASSERT_TRUE(WaitUntil([&] { return m_program->OtherDialogs().size() == 2; }))
        << testing::PrintToString(DialogTitles(*m_program));
    EXPECT_EQ(DialogTitles(*m_program),
              (std::vector<std::string>{"About Trackglow", "About Trackglow"}));

    // Closed from the innermost out (a modal loop serves only its own box),
    // after which the program is as before.
    std::vector<HWND> dialogs = m_program->OtherDialogs();
    const HWND second = dialogs[0] == first ? dialogs[1] : dialogs[0];
    PostKey(second, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(second); }));
    EXPECT_TRUE(IsWindow(first));
    PostKey(first, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return m_program->OtherDialogs().empty(); }));
    ExpectIdle();
    ExitCleanly(*m_program);
}

} // namespace
