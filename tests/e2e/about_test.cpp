// The About box of the running program: what the About command opens, where
// it goes with the pop-up hidden or up, how it closes, and a second box on
// top of the first.
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/PopupPlace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace e2e;

namespace {

const char kSettings[] = "[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=0\r\nenwmp=0\r\n";
constexpr char kAboutTitle[] = "About Trackglow";

std::string ClassOf(HWND window) {
    return DescribeWindow(window).className;
}

std::string TextOf(HWND window) {
    return DescribeWindow(window).title;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// The work area of the monitor the window is on.
RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// Waits until `count` About boxes are open and returns the one that was not
// in `known` (null when none appeared).
HWND WaitForNewAbout(const RunningProgram& program, size_t count,
                     const std::vector<HWND>& known = {}) {
    if (!WaitUntil([&] { return program.DialogsTitled(kAboutTitle).size() == count; })) {
        return nullptr;
    }
    for (HWND box : program.DialogsTitled(kAboutTitle)) {
        if (std::find(known.begin(), known.end(), box) == known.end()) {
            return box;
        }
    }
    return nullptr;
}

class About : public testing::Test {
  protected:
    void SetUp() override {
        SetCursorPos(900, 600); // away from the pop-up's buttons
        m_program = std::make_unique<RunningProgram>(m_install);
        m_main = m_program->WaitForMainWindow();
        ASSERT_NE(m_main, nullptr) << "no main window appeared";
        WaitUntil([] { return FindWindowA(nullptr, "Wine System Tray") != nullptr; });
        MoveWineSystemTrayAway();
    }

    // Closes a box with a key and expects the program to carry on as before.
    void CloseWith(HWND box, WORD key) {
        PostKey(box, key);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the About box stayed open";
    }

    TestInstall m_install{kSettings};
    std::unique_ptr<RunningProgram> m_program;
    HWND m_main = nullptr;
};

TEST_F(About, CommandOpensTheBoxWithItsTextsInTheWorkAreasCorner) {
    m_program->PostCommand(kCommandAbout);
    HWND box = WaitForNewAbout(*m_program, 1);
    ASSERT_NE(box, nullptr) << "no About box";

    const WindowInfo info = DescribeWindow(box);
    EXPECT_EQ(info.className, "#32770");
    EXPECT_TRUE(info.style & WS_CAPTION);
    EXPECT_TRUE(info.style & WS_SYSMENU);
    EXPECT_EQ(GetWindow(box, GW_OWNER), m_main);
    // Modal: the main window takes no input meanwhile.
    EXPECT_FALSE(IsWindowEnabled(m_main));

    std::vector<std::string> texts;
    for (HWND child : Children(box)) {
        texts.push_back(ClassOf(child) + ":" + TextOf(child));
    }
    ASSERT_GE(texts.size(), 3u) << testing::PrintToString(texts);
    EXPECT_EQ(texts[0], "Button:Close");
    EXPECT_EQ(GetDlgCtrlID(Children(box)[0]), IDOK);
    EXPECT_EQ(texts[2], "Static:Trackglow 1.10\nFor Nullsoft Winamp 2.x and higher.");

    // The main window at rest is a visible window of no size at the screen's
    // corner: the box is centred on it, then kept inside the work area.
    const RECT work = WorkAreaOf(m_main);
    EXPECT_EQ(WindowBox(box).x, work.left) << WindowBox(box);
    EXPECT_EQ(WindowBox(box).y, work.top) << WindowBox(box);

    PumpFor(300);
    const Box at = WindowBox(box);
    SaveScreenshot("about", RECT{at.x, at.y, at.Right(), at.Bottom()});

    CloseWith(box, VK_RETURN);
    EXPECT_TRUE(IsWindowEnabled(m_main));
    EXPECT_TRUE(m_program->IsResponsive());
    EXPECT_EQ(WindowBox(m_main), (Box{0, 0, 0, 0})); // nothing else happened
    ExitCleanly(*m_program);
}

TEST_F(About, OpenedWhileThePopupIsUpItIsCentredOverIt) {
    m_program->PostCommand(kCommandToggle);
    GeometryTrace trace(m_main);
    ASSERT_TRUE(trace.RecordUntil([](const Box& box) { return box == kPopupAtRest; }, kGenerousMs))
        << Describe(trace.Boxes());

    m_program->PostCommand(kCommandAbout);
    HWND box = WaitForNewAbout(*m_program, 1);
    ASSERT_NE(box, nullptr) << "no About box";
    const Box at = WindowBox(box);
    // Centred across the pop-up; its top kept inside the work area.
    EXPECT_LE(std::abs((at.x + at.Right()) - (kPopupAtRest.x + kPopupAtRest.Right())), 1) << at;
    EXPECT_EQ(at.y, WorkAreaOf(m_main).top) << at;

    CloseWith(box, VK_ESCAPE);
    ExitCleanly(*m_program);
}

TEST_F(About, ASecondCommandOpensASecondBoxOnTopOfTheFirst) {
    m_program->PostCommand(kCommandAbout);
    HWND first = WaitForNewAbout(*m_program, 1);
    ASSERT_NE(first, nullptr) << "no About box";

    // The first box is the active pop-up of the main window, so it owns the
    // second and takes no input meanwhile.
    m_program->PostCommand(kCommandAbout);
    HWND second = WaitForNewAbout(*m_program, 2, {first});
    ASSERT_NE(second, nullptr) << "no second About box";
    EXPECT_EQ(GetWindow(second, GW_OWNER), first);
    EXPECT_FALSE(IsWindowEnabled(first));
    EXPECT_EQ(TextOf(second), kAboutTitle);

    CloseWith(second, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(first) != FALSE; }));
    EXPECT_TRUE(IsWindow(first));
    // The Close button ends the first.
    PostMessageA(GetDlgItem(first, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(first); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_main) != FALSE; }));
    EXPECT_TRUE(m_program->DialogsTitled(kAboutTitle).empty());
    EXPECT_TRUE(m_program->IsRunning());
    ExitCleanly(*m_program);
}

} // namespace
