// The tray icon of the running program, driven from outside: the icon in the
// shell's tray, a real right click on it, the menu it opens (read on the
// screen and driven with the keyboard, since another process cannot read its
// items under Wine), the commands chosen there (About, the pop-up,
// Preferences, Exit) and the double-click.
//
// Which notifications do nothing, and that Esc chooses no command, is proven
// in-process by the Windows-level tray tests.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/Mouse.h"
#include "support/PopupFace.h"
#include "support/PopupPlace.h"
#include "support/Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

const char kSettings[] = "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=0\r\nenwmp=0\r\n";
constexpr char kAboutTitle[] = "About Trackglow";

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

std::vector<std::string> DialogTitles(const RunningProgram& program) {
    std::vector<std::string> titles;
    for (HWND dialog : program.OtherDialogs()) {
        titles.push_back(DescribeWindow(dialog).title);
    }
    return titles;
}

void ClickRightButton() {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

class Tray : public testing::Test {
  protected:
    void SetUp() override {
        m_session = std::make_unique<Session>(kSettings, [&](const TestInstall& install) {
            InstallFlatSkin(install);
            m_iconsBefore = ShellTrayIcons();
        });
    }

    RunningProgram& Program() { return m_session->Program(); }

    // Opens the tray menu as the shell would on a right-button release over the icon.
    HWND OpenMenu() {
        Program().PostTrayNotify(WM_RBUTTONUP);
        return Program().WaitForPopupMenu();
    }

    bool WaitForNoMenu() {
        return WaitUntil([&] {
            const std::vector<WindowInfo> windows = Program().Windows();
            return std::none_of(windows.begin(), windows.end(), [](const WindowInfo& info) {
                return info.className == "#32768" && info.visible;
            });
        });
    }

    // The empty pop-up at rest, in the flat skin.
    testing::AssertionResult ShowsEmptyPopup(const std::string& artifact) {
        return ShowsFace(m_session->Main(), PopupFace(m_session->Install(), FlatLook(), 317),
                         artifact);
    }

    // The double-click, sent to `target` (the main window when null): the
    // pop-up collapses into the one-pixel sliver at the corner.
    void HideWithDoubleClick(HWND target) {
        ASSERT_TRUE(m_session->WaitUntilStill());
        ASSERT_TRUE(Program().SendTrayNotify(WM_LBUTTONDBLCLK, kTrayIconId, target));
        ASSERT_TRUE(m_session->WaitForHidden());
        EXPECT_EQ(WindowBox(m_session->Main()), (Box{0, 0, 1, 6}));
    }

    std::vector<HWND> m_iconsBefore;
    std::unique_ptr<Session> m_session;
};

TEST_F(Tray, TheShellShowsTheIconAndExitRemovesIt) {
    HWND icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = NewIcon(m_iconsBefore, ShellTrayIcons())); }))
        << "no new icon in the shell's tray";
    EXPECT_EQ(ShellTrayIcons().size(), m_iconsBefore.size() + 1);

    // The hidden window that receives the icon's notifications.
    HWND tray = Program().FindTrayWindow();
    ASSERT_NE(tray, nullptr) << "no hidden 10 x 10 tray window";
    const WindowInfo info = DescribeWindow(tray);
    EXPECT_EQ(WindowBox(tray), (Box{0, 0, 10, 10}));
    EXPECT_EQ(info.style & ~WS_CLIPSIBLINGS, WS_POPUP);
    EXPECT_FALSE(info.visible);
    EXPECT_EQ(info.title, "");

    m_session->Exit();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(icon); })) << "the icon stayed in the tray";
    EXPECT_EQ(ShellTrayIcons().size(), m_iconsBefore.size());
}

TEST_F(Tray, ARightClickOnTheIconOpensTheMenuAtTheCursorAndEscOrAClickAwayClosesIt) {
    // The shell's tray in open space, so the menu fits at the cursor.
    HWND icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = NewIcon(m_iconsBefore, ShellTrayIcons())); }));
    HWND shellTray = FindWindowA(nullptr, "Wine System Tray");
    SetWindowPos(shellTray, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return WindowBox(shellTray).x == 300; }));
    RECT iconRect = {};
    GetWindowRect(icon, &iconRect);
    const POINT centre{(iconRect.left + iconRect.right) / 2, (iconRect.top + iconRect.bottom) / 2};
    SetCursorPos(centre.x, centre.y);
    ASSERT_TRUE(WaitUntil([&] { return WindowFromPoint(centre) == icon; }))
        << "the icon is not under the cursor";

    ClickRightButton();
    HWND menu = Program().WaitForPopupMenu();
    ASSERT_NE(menu, nullptr) << "no menu opened";
    const Box box = WindowBox(menu);
    EXPECT_EQ(box.x, centre.x);
    EXPECT_EQ(box.y, centre.y);
    EXPECT_GT(box.width, 0);
    EXPECT_GT(box.height, 0);
    SaveScreenshot("tray-menu", RECT{std::min<LONG>(iconRect.left, box.x) - 16,
                                     std::min<LONG>(iconRect.top, box.y) - 16,
                                     std::max<LONG>(iconRect.right, box.Right()) + 16,
                                     std::max<LONG>(iconRect.bottom, box.Bottom()) + 16});
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForNoMenu()) << "Esc did not close the menu";

    // Opened again, and clicked away instead (the menu's loop sees a click
    // outside it).
    ASSERT_NE(OpenMenu(), nullptr) << "the menu did not open a second time";
    ParkCursor();
    ClickLeftButton();
    EXPECT_TRUE(WaitForNoMenu()) << "a click elsewhere did not close the menu";
    EXPECT_TRUE(Program().OtherDialogs().empty())
        << testing::PrintToString(DialogTitles(Program()));
}

TEST_F(Tray, DoubleClickShowsTheEmptyPopupAndHidesItAgain) {
    // Through the main window, as the message map routes it.
    ASSERT_TRUE(Program().SendTrayNotify(WM_LBUTTONDBLCLK));
    EXPECT_TRUE(ShowsEmptyPopup("tray-double-click"));
    HideWithDoubleClick(nullptr);

    // Through the tray window, where the shell sends it.
    HWND tray = Program().FindTrayWindow();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(Program().SendTrayNotify(WM_LBUTTONDBLCLK, kTrayIconId, tray));
    EXPECT_TRUE(ShowsEmptyPopup("tray-double-click-tray-window"));
    HideWithDoubleClick(tray);
    EXPECT_TRUE(Program().OtherDialogs().empty());
}

TEST_F(Tray, KeysInTheLiveMenuRunTheChosenCommand) {
    HWND main = m_session->Main();

    // The accelerator of "&About": the About box, modal, with its texts, at
    // the work area's corner (centred on the main window, a visible window
    // of no size there, and kept inside the work area).
    ASSERT_NE(OpenMenu(), nullptr);
    TypeText("a");
    HWND about = Program().WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr) << "A in the menu opened no About box";
    EXPECT_TRUE(WaitForNoMenu());
    EXPECT_FALSE(IsWindowEnabled(main));
    HWND lines = GetWindow(GetWindow(GetDlgItem(about, IDOK), GW_HWNDNEXT), GW_HWNDNEXT);
    EXPECT_EQ(DescribeWindow(lines).title, "Trackglow 1.10\nFor Nullsoft Winamp 2.x and higher.");
    EXPECT_EQ(WindowBox(about).x, WorkArea().left) << WindowBox(about);
    EXPECT_EQ(WindowBox(about).y, WorkArea().top) << WindowBox(about);
    const Box at = WindowBox(about);
    SaveScreenshot("about", RECT{at.x, at.y, at.Right(), at.Bottom()});
    PostKey(about, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Program().OtherDialogs().empty(); }));
    EXPECT_TRUE(IsWindowEnabled(main));

    // Down to the first item, "&Trackglow?", and Enter: the pop-up shows.
    ASSERT_NE(OpenMenu(), nullptr);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(ShowsEmptyPopup("tray-menu-show"));
    HideWithDoubleClick(nullptr);

    // Down twice, to "&Preferences".
    ASSERT_NE(OpenMenu(), nullptr);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    HWND preferences = Program().WaitForDialog("Preferences");
    ASSERT_NE(preferences, nullptr) << "Down, Down, Enter opened no Preferences dialog";
    PostKey(preferences, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return Program().OtherDialogs().empty(); }));

    // The accelerator of "E&xit".
    HWND icon = NewIcon(m_iconsBefore, ShellTrayIcons());
    ASSERT_NE(OpenMenu(), nullptr);
    TypeText("x");
    const std::optional<DWORD> code = Program().WaitForExit();
    ASSERT_TRUE(code.has_value()) << "X in the menu did not end the program";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return icon == nullptr || !IsWindow(icon); }));
}

TEST_F(Tray, TheMenuStillWorksWhileTheAboutBoxIsOpen) {
    Program().PostCommand(kCommandAbout);
    HWND first = Program().WaitForDialog(kAboutTitle);
    ASSERT_NE(first, nullptr);

    ASSERT_NE(OpenMenu(), nullptr) << "no menu while the About box is open";
    TypeText("a");
    ASSERT_TRUE(WaitUntil([&] { return Program().OtherDialogs().size() == 2; }))
        << testing::PrintToString(DialogTitles(Program()));
    EXPECT_EQ(DialogTitles(Program()), (std::vector<std::string>{kAboutTitle, kAboutTitle}));

    // Closed from the innermost out (a modal loop serves only its own box).
    std::vector<HWND> dialogs = Program().OtherDialogs();
    const HWND second = dialogs[0] == first ? dialogs[1] : dialogs[0];
    PostKey(second, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(second); }));
    EXPECT_TRUE(IsWindow(first));
    PostKey(first, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return Program().OtherDialogs().empty(); }));
    EXPECT_TRUE(IsWindowEnabled(m_session->Main()));
}

} // namespace
