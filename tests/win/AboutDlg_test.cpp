// The About box in-process: its texts and controls from the template, the
// ways it closes, and where it opens relative to its owner and the work area.
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A dialog that a failing test left open is closed after this, so the run goes on.
constexpr UINT kDialogSafetyMs = 10000;

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A rectangle of dialog units in the dialog's pixels.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT rect{x, y, x + width, y + height};
    ::MapDialogRect(dialog, &rect);
    return rect;
}

RECT ClientRectOf(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// The open About box that takes input: visible and enabled (an About box
// that owns another one is disabled meanwhile).
HWND FindActiveAbout() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            if (ClassOf(window) == "#32770" && TextOf(window) == "About Trackglow" &&
                ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Stands in for the program's main window. While a test runs the About box
// modally, a timer of this window (dispatched by the dialog's own loop)
// finds the open box, hands it to the test, and ends it should the test
// leave it open.
class OwnerWindow : public CWnd {
  public:
    OwnerWindow() {
        CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
    }

    void Watch(std::function<void(HWND)> onOpen) {
        m_onOpen = std::move(onOpen);
        m_ticks = 0;
        SetTimer(kWatchTimer, kWatchMs);
    }
    void StopWatching() {
        KillTimer(kWatchTimer);
        m_onOpen = nullptr;
    }

    void Place(int x, int y, int width, int height, bool visible) const {
        ::SetWindowPos(m_hWnd, nullptr, x, y, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == kWatchTimer) {
            HWND about = FindActiveAbout();
            if (about && m_onOpen) {
                auto act = std::move(m_onOpen);
                m_onOpen = nullptr;
                act(about);
            } else if (about && ++m_ticks * kWatchMs > kDialogSafetyMs) {
                ADD_FAILURE() << "the About box was still open after " << kDialogSafetyMs << " ms";
                ::EndDialog(about, -2);
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

  private:
    static constexpr UINT_PTR kWatchTimer = 78;
    static constexpr UINT kWatchMs = 20;
    std::function<void(HWND)> m_onOpen;
    UINT m_ticks = 0;
};

// What a test saw of the About box while it was open.
struct OpenDialog {
    HWND window = nullptr;
    RECT rect{};
    HWND owner = nullptr;
    bool ownerEnabled = true;
};

class AboutDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!AfxGetApp())
            m_app = std::make_unique<CWinApp>();
        m_previousMain = AfxGetApp()->m_pMainWnd;
        AfxGetApp()->m_pMainWnd = &m_owner;
        ASSERT_NE(m_owner.m_hWnd, nullptr);
    }
    void TearDown() override { AfxGetApp()->m_pMainWnd = m_previousMain; }

    // Runs the About box modally as the program does; `whileOpen` gets the
    // open dialog and must close it. Returns the modal result.
    INT_PTR RunAbout(OpenDialog& seen, const std::function<void(HWND)>& whileOpen) {
        m_owner.Watch([&](HWND dialog) {
            seen.window = dialog;
            ::GetWindowRect(dialog, &seen.rect);
            seen.owner = ::GetWindow(dialog, GW_OWNER);
            seen.ownerEnabled = seen.owner && ::IsWindowEnabled(seen.owner);
            whileOpen(dialog);
        });
        CAboutDlg about;
        const INT_PTR result = about.DoModal();
        m_owner.StopWatching();
        return result;
    }

    // Opens the About box over the owner and says where it went.
    RECT PlaceOver(int x, int y, int width, int height, bool visible) {
        m_owner.Place(x, y, width, height, visible);
        OpenDialog seen;
        RunAbout(seen, [](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_NE(seen.window, nullptr) << "the About box never waited for input";
        return seen.rect;
    }

    std::unique_ptr<CWinApp> m_app;
    CWnd* m_previousMain = nullptr;
    OwnerWindow m_owner;
};

TEST_F(AboutDlgTest, TemplateGivesTitleTextsIconAndCloseButton) {
    CAboutDlg about;
    ASSERT_TRUE(about.Create(IDD_ABOUT));
    HWND dialog = about.m_hWnd;

    EXPECT_EQ(TextOf(dialog), "About Trackglow");
    const LONG style = ::GetWindowLongA(dialog, GWL_STYLE);
    for (DWORD bit : std::vector<DWORD>{WS_POPUP, WS_CAPTION, WS_SYSMENU, DS_MODALFRAME})
        EXPECT_EQ(static_cast<DWORD>(style) & bit, bit) << std::hex << bit;
    EXPECT_FALSE(style & WS_THICKFRAME);
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_TRUE(SameRect(client, DialogUnits(dialog, 0, 0, 201, 105))) << Describe(client);

    const std::vector<HWND> children = Children(dialog);
    ASSERT_GE(children.size(), 3u);

    // In template order: the Close button, the program's icon, the two lines.
    HWND close = children[0];
    EXPECT_EQ(close, ::GetDlgItem(dialog, IDOK));
    EXPECT_EQ(ClassOf(close), "Button");
    EXPECT_EQ(TextOf(close), "Close");
    EXPECT_EQ(::GetWindowLongA(close, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(::GetWindowLongA(close, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(SameRect(ClientRectOf(close), DialogUnits(dialog, 144, 84, 50, 14)))
        << Describe(ClientRectOf(close));

    HWND icon = children[1];
    EXPECT_EQ(ClassOf(icon), "Static");
    EXPECT_EQ(::GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(::SendMessageA(icon, STM_GETICON, 0, 0), 0) << "the icon did not load";
    EXPECT_EQ(ClientRectOf(icon).left, DialogUnits(dialog, 7, 7, 20, 20).left);
    EXPECT_EQ(ClientRectOf(icon).top, DialogUnits(dialog, 7, 7, 20, 20).top);

    HWND lines = children[2];
    EXPECT_EQ(ClassOf(lines), "Static");
    EXPECT_EQ(TextOf(lines), "Trackglow 1.10\nFor Nullsoft Winamp 2.x and higher.");
    EXPECT_EQ(::GetWindowLongA(lines, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
    EXPECT_TRUE(SameRect(ClientRectOf(lines), DialogUnits(dialog, 37, 9, 116, 16)))
        << Describe(ClientRectOf(lines));

    // Everything else is static text inside the box; nothing else can be pressed.
    for (size_t i = 3; i < children.size(); ++i) {
        EXPECT_EQ(ClassOf(children[i]), "Static");
        const RECT placed = ClientRectOf(children[i]);
        RECT inside{};
        ::IntersectRect(&inside, &client, &placed);
        EXPECT_TRUE(SameRect(inside, placed)) << Describe(placed);
    }
}

TEST_F(AboutDlgTest, ClosesWithCloseEnterEscapeOrTheCloseBoxAndDisablesItsOwnerMeanwhile) {
    m_owner.Place(200, 150, 300, 200, true);
    struct Way {
        const char* name;
        std::function<void(HWND)> close;
        INT_PTR result;
    };
    const std::vector<Way> ways{
        {"Close button",
         [](HWND dialog) { ::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }, IDOK},
        {"Enter",
         [](HWND dialog) {
             ::PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 1);
             ::PostMessageA(dialog, WM_KEYUP, VK_RETURN, 0xC0000001);
         },
         IDOK},
        {"Escape",
         [](HWND dialog) {
             ::PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
             ::PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0xC0000001);
         },
         IDCANCEL},
        {"close box", [](HWND dialog) { ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
         IDCANCEL},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        OpenDialog seen;
        EXPECT_EQ(RunAbout(seen, way.close), way.result);
        ASSERT_NE(seen.window, nullptr);
        EXPECT_EQ(seen.owner, m_owner.m_hWnd);
        EXPECT_FALSE(seen.ownerEnabled);
        EXPECT_FALSE(::IsWindow(seen.window));
        EXPECT_TRUE(::IsWindowEnabled(m_owner.m_hWnd));
    }
}

TEST_F(AboutDlgTest, OpensCentredOverAVisibleOwner) {
    const RECT work = WorkAreaOf(m_owner.m_hWnd);
    const int ownerX = work.left + 300, ownerY = work.top + 200;
    const RECT placed = PlaceOver(ownerX, ownerY, 500, 400, true);
    EXPECT_LE(std::abs((placed.left + placed.right) - (2 * ownerX + 500)), 1) << Describe(placed);
    EXPECT_LE(std::abs((placed.top + placed.bottom) - (2 * ownerY + 400)), 1) << Describe(placed);
}

TEST_F(AboutDlgTest, StaysInsideTheWorkAreaNearItsEdges) {
    const RECT work = WorkAreaOf(m_owner.m_hWnd);

    // The main window at rest: a visible window of no size at the top-left corner.
    RECT placed = PlaceOver(work.left, work.top, 0, 0, true);
    EXPECT_EQ(placed.left, work.left) << Describe(placed);
    EXPECT_EQ(placed.top, work.top) << Describe(placed);

    // The pop-up up at its resting place: centred across, pushed down into the work area.
    placed = PlaceOver(64, 32, 317, 66, true);
    EXPECT_LE(std::abs((placed.left + placed.right) - (2 * 64 + 317)), 1) << Describe(placed);
    EXPECT_EQ(placed.top, work.top) << Describe(placed);

    // An owner in the bottom-right corner.
    placed = PlaceOver(work.right - 20, work.bottom - 20, 40, 40, true);
    EXPECT_EQ(placed.right, work.right) << Describe(placed);
    EXPECT_EQ(placed.bottom, work.bottom) << Describe(placed);
}

TEST_F(AboutDlgTest, WithAHiddenOwnerOpensCentredInTheWorkArea) {
    const RECT work = WorkAreaOf(m_owner.m_hWnd);
    const RECT placed = PlaceOver(work.left + 10, work.top + 10, 100, 100, false);
    EXPECT_LE(std::abs((placed.left + placed.right) - (work.left + work.right)), 1)
        << Describe(placed) << " in " << Describe(work);
    EXPECT_LE(std::abs((placed.top + placed.bottom) - (work.top + work.bottom)), 1)
        << Describe(placed) << " in " << Describe(work);
}

TEST_F(AboutDlgTest, OpenedFromAnotherDialogOfTheMainWindowItIsOwnedByThatDialog) {
    m_owner.Place(100, 100, 200, 100, true);
    // A modeless dialog owned by the main window stands for the Preferences dialog.
    CAboutDlg other;
    ASSERT_TRUE(other.Create(IDD_ABOUT));
    ASSERT_EQ(::GetWindow(other.m_hWnd, GW_OWNER), m_owner.m_hWnd);
    ::ShowWindow(other.m_hWnd, SW_SHOW);
    ::SetActiveWindow(other.m_hWnd);

    OpenDialog seen;
    EXPECT_EQ(RunAbout(seen, [](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }),
              IDCANCEL);
    EXPECT_EQ(seen.owner, other.m_hWnd);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(::IsWindowEnabled(other.m_hWnd));
    EXPECT_TRUE(::IsWindow(other.m_hWnd));
}

} // namespace
