// The tray icon in-process: the record the shell is given, the answers to its
// notifications, the menu while it is open, and the icon's life across
// withdraw, release, a refused add and a restarted shell.
#include "framework/WinApp.h"
#include "res/resource.h"
#include "shell/SystemTray.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kCallback = WM_USER + 1;
constexpr UINT kIconId = IDR_TRAYMENU;
// Closes a menu that a failing test left open, so the run goes on.
constexpr UINT_PTR kMenuSafetyTimer = 77;
constexpr UINT kMenuSafetyMs = 10000;

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Whether the shell holds an icon for this record's window and identifier:
// it refuses to modify an icon it does not know.
bool ShellHasIcon(const NOTIFYICONDATAA& record) {
    NOTIFYICONDATAA probe = record;
    probe.uFlags = NIF_TIP;
    return ::Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

HICON TrayIcon() {
    return ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY));
}

struct MenuItem {
    UINT id;
    std::string caption; // empty for a separator
    bool separator;
};

bool operator==(const MenuItem& a, const MenuItem& b) {
    return a.id == b.id && a.caption == b.caption && a.separator == b.separator;
}

std::ostream& operator<<(std::ostream& out, const MenuItem& item) {
    return out << (item.separator ? "separator"
                                  : "\"" + item.caption + "\" " + std::to_string(item.id));
}

// What a test saw of the menu while it was open.
struct OpenMenu {
    HMENU menu = nullptr;
    std::vector<MenuItem> items;
    UINT defaultItem = static_cast<UINT>(-1);
    bool firstItemMarkedDefault = false;
    RECT window{};
    POINT cursor{};
};

OpenMenu ReadMenu(HWND menuWindow) {
    OpenMenu seen;
    seen.menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    ::GetWindowRect(menuWindow, &seen.window);
    ::GetCursorPos(&seen.cursor);
    for (int i = 0; i < ::GetMenuItemCount(seen.menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        ::GetMenuItemInfoA(seen.menu, static_cast<UINT>(i), TRUE, &info);
        char caption[64] = {};
        ::GetMenuStringA(seen.menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        seen.items.push_back({separator ? 0u : info.wID, caption, separator});
    }
    seen.defaultItem = ::GetMenuDefaultItem(seen.menu, TRUE, GMDI_USEDISABLED);
    seen.firstItemMarkedDefault = (::GetMenuState(seen.menu, 0, MF_BYPOSITION) & MF_DEFAULT) != 0;
    return seen;
}

// Stands in for the program's main window: records the commands and WM_NULL
// messages it gets, and lets a test act on the tray menu once it is open
// (the menu's owner is told through WM_ENTERIDLE when the menu waits for
// input).
class CommandTarget : public CWnd {
  public:
    CommandTarget() {
        CreateEx(0, AfxRegisterWndClass(0), "command target", WS_POPUP, 300, 200, 40, 40, nullptr,
                 nullptr);
    }

    std::vector<WPARAM> commands;
    std::vector<LPARAM> commandParams;
    HWND foregroundAtCommand = nullptr;
    int nulls = 0;
    int menuLoops = 0;
    // Called with the menu's window the first time an opened menu waits for input.
    std::function<void(HWND)> onMenuOpen;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_COMMAND:
            commands.push_back(wParam);
            commandParams.push_back(lParam);
            foregroundAtCommand = ::GetForegroundWindow();
            return 0;
        case WM_NULL:
            ++nulls;
            return 0;
        case WM_ENTERMENULOOP:
            ++menuLoops;
            SetTimer(kMenuSafetyTimer, kMenuSafetyMs);
            break;
        case WM_EXITMENULOOP:
            KillTimer(kMenuSafetyTimer);
            break;
        case WM_TIMER:
            if (wParam == kMenuSafetyTimer) {
                KillTimer(kMenuSafetyTimer);
                ::EndMenu();
                ADD_FAILURE() << "the tray menu was still open after " << kMenuSafetyMs << " ms";
                return 0;
            }
            break;
        case WM_ENTERIDLE:
            if (wParam == MSGF_MENU && onMenuOpen) {
                HWND menuWindow = reinterpret_cast<HWND>(lParam);
                if (!menuWindow)
                    menuWindow = ::FindWindowA("#32768", nullptr);
                auto act = std::move(onMenuOpen);
                onMenuOpen = nullptr;
                act(menuWindow);
            }
            return 0;
        default:
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Keys typed into an open menu, as its own message loop reads them.
void PostKeys(HWND menuWindow, std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys)
        ::PostMessageA(menuWindow, WM_KEYDOWN, key, 1);
}

class SystemTrayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!AfxGetApp())
            m_app = std::make_unique<CWinApp>();
        m_previousMain = AfxGetApp()->m_pMainWnd;
        AfxGetApp()->m_pMainWnd = &m_target;
        ASSERT_NE(m_target.m_hWnd, nullptr);
    }
    void TearDown() override {
        AfxGetApp()->m_pMainWnd = m_previousMain;
        PumpMessages();
    }

    // Adds the icon as the program does: the owner has no window yet, so
    // the tray window receives the notifications.
    static void AddAsTheProgramDoes(CSystemTray& tray, UINT id = kIconId) {
        CWnd unborn;
        ASSERT_TRUE(tray.AddIcon(&unborn, kCallback, "Trackglow", TrayIcon(), id));
    }

    // Opens the menu with a right-button release and runs `whileOpen` on it;
    // returns OnIconNotify's answer.
    LRESULT RightClick(CSystemTray& tray, const std::function<void(HWND)>& whileOpen) {
        m_target.onMenuOpen = whileOpen;
        const LRESULT result = tray.OnIconNotify(kIconId, WM_RBUTTONUP);
        m_target.onMenuOpen = nullptr;
        return result;
    }

    std::unique_ptr<CWinApp> m_app;
    CWnd* m_previousMain = nullptr;
    CommandTarget m_target;
};

TEST_F(SystemTrayTest, AddIconGivesTheShellTheFirstRecordLayoutAndMakesAHiddenWindow) {
    CSystemTray tray;
    EXPECT_FALSE(tray.m_bActive);
    const HICON icon = TrayIcon();
    ASSERT_NE(icon, nullptr);
    CWnd unborn;
    EXPECT_TRUE(tray.AddIcon(&unborn, kCallback, "Trackglow", icon, kIconId));

    EXPECT_TRUE(tray.m_bActive);
    EXPECT_FALSE(tray.m_bWithdrawn);
    // The first layout: the 64-byte tooltip is its last field; 88 bytes on
    // 32-bit Windows, 104 with 64-bit handles.
    EXPECT_EQ(tray.m_nid.cbSize, offsetof(NOTIFYICONDATAA, szTip) + 64);
    EXPECT_EQ(tray.m_nid.cbSize, sizeof(void*) == 4 ? 88u : 104u);
    EXPECT_EQ(tray.m_nid.hWnd, tray.m_hWnd);
    EXPECT_EQ(tray.m_nid.uID, kIconId);
    EXPECT_EQ(tray.m_nid.uCallbackMessage, kCallback);
    EXPECT_EQ(tray.m_nid.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(tray.m_nid.hIcon, icon);
    EXPECT_STREQ(tray.m_nid.szTip, "Trackglow");
    EXPECT_TRUE(ShellHasIcon(tray.m_nid));

    // The tray window: a bare 10 x 10 pop-up at the origin that is never shown.
    ASSERT_TRUE(::IsWindow(tray.m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(tray.m_hWnd));
    EXPECT_EQ(::GetParent(tray.m_hWnd), nullptr);
    EXPECT_EQ(::GetWindowLongA(tray.m_hWnd, GWL_STYLE) & ~WS_CLIPSIBLINGS, WS_POPUP);
    EXPECT_EQ(::GetWindowLongA(tray.m_hWnd, GWL_EXSTYLE), 0);
    RECT rect{};
    ::GetWindowRect(tray.m_hWnd, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 10);
    EXPECT_EQ(rect.bottom, 10);
    EXPECT_EQ(::GetWindowTextLengthA(tray.m_hWnd), 0);
    EXPECT_EQ(::GetClassLongPtrA(tray.m_hWnd, GCL_STYLE), 0u);
    EXPECT_EQ(::GetClassLongPtrA(tray.m_hWnd, GCLP_HCURSOR), 0u);
    EXPECT_EQ(::GetClassLongPtrA(tray.m_hWnd, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(::GetClassLongPtrA(tray.m_hWnd, GCLP_HICON), 0u);
}

TEST_F(SystemTrayTest, AnOwnerThatHasAWindowReceivesTheNotifications) {
    CSystemTray tray;
    ASSERT_TRUE(tray.AddIcon(&m_target, kCallback, "Trackglow", TrayIcon(), kIconId));
    EXPECT_EQ(tray.m_nid.hWnd, m_target.m_hWnd);
    EXPECT_NE(tray.m_hWnd, nullptr); // the tray window is made all the same
    EXPECT_TRUE(ShellHasIcon(tray.m_nid));
}

TEST_F(SystemTrayTest, TooltipIsCutAfter63Characters) {
    std::string alphabet;
    for (int i = 0; i < 100; ++i)
        alphabet.push_back(static_cast<char>('!' + i % 90));
    struct Case {
        size_t length;
        size_t stored;
    };
    for (const Case c : {Case{0, 0}, Case{62, 62}, Case{63, 63}, Case{64, 63}, Case{100, 63}}) {
        SCOPED_TRACE(c.length);
        CSystemTray tray;
        const std::string tip = alphabet.substr(0, c.length);
        CWnd unborn;
        EXPECT_TRUE(tray.AddIcon(&unborn, kCallback, tip.c_str(), TrayIcon(), kIconId));
        EXPECT_EQ(std::string(tray.m_nid.szTip), tip.substr(0, c.stored));
        EXPECT_EQ(tray.m_nid.szTip[63], '\0');
    }
}

TEST_F(SystemTrayTest, NotificationsForAnotherIconAreAnsweredWithZeroAndIgnored) {
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    for (WPARAM id : {WPARAM{0}, WPARAM{3}, WPARAM{5}, WPARAM{0x100000004ull}}) {
        for (UINT mouse : {WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE}) {
            SCOPED_TRACE(testing::Message() << "id " << id << ", message " << mouse);
            EXPECT_EQ(tray.OnIconNotify(id, mouse), 0);
        }
    }
    PumpMessages();
    EXPECT_TRUE(m_target.commands.empty());
    EXPECT_EQ(m_target.menuLoops, 0);
    EXPECT_EQ(m_target.nulls, 0);
}

TEST_F(SystemTrayTest, OtherMouseMessagesAreAnsweredWithOneAndDoNothing) {
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    for (UINT mouse : std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                        WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP,
                                        WM_MBUTTONDBLCLK, WM_CONTEXTMENU, 0u}) {
        SCOPED_TRACE(mouse);
        EXPECT_EQ(tray.OnIconNotify(kIconId, mouse), 1);
    }
    PumpMessages();
    EXPECT_TRUE(m_target.commands.empty());
    EXPECT_EQ(m_target.menuLoops, 0);
    EXPECT_EQ(m_target.nulls, 0);
}

TEST_F(SystemTrayTest, DoubleClickSendsTheFirstItemsCommandBeforeReturning) {
    CSystemTray tray;
    AddAsTheProgramDoes(tray);

    EXPECT_EQ(tray.OnIconNotify(kIconId, WM_LBUTTONDBLCLK), 1);
    // Sent, not posted: it has arrived although no message was dispatched.
    EXPECT_EQ(m_target.commands, std::vector<WPARAM>{ID_TRAY_SHOW});
    EXPECT_EQ(m_target.commandParams, std::vector<LPARAM>{0});
    EXPECT_EQ(m_target.foregroundAtCommand, m_target.m_hWnd);

    // Only the low word of lParam names the mouse message.
    EXPECT_EQ(tray.OnIconNotify(kIconId, MAKELPARAM(WM_LBUTTONDBLCLK, 0x1234)), 1);
    EXPECT_EQ(m_target.commands, (std::vector<WPARAM>{ID_TRAY_SHOW, ID_TRAY_SHOW}));

    // The shell notifies the tray window, whose procedure answers the same way.
    EXPECT_EQ(::SendMessageA(tray.m_hWnd, kCallback, kIconId, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(::SendMessageA(tray.m_hWnd, kCallback, kIconId + 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(m_target.commands.size(), 3u);
    PumpMessages();
    EXPECT_EQ(m_target.commands.size(), 3u);
    EXPECT_EQ(m_target.menuLoops, 0);
}

TEST_F(SystemTrayTest, RightButtonUpOpensTheTrayMenuAtTheCursorAndEscapeSendsNothing) {
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    ::SetCursorPos(320, 240);

    OpenMenu seen;
    EXPECT_EQ(RightClick(tray,
                         [&](HWND menuWindow) {
                             seen = ReadMenu(menuWindow);
                             PostKeys(menuWindow, {VK_ESCAPE});
                         }),
              1);
    EXPECT_EQ(m_target.menuLoops, 1);
    ASSERT_NE(seen.menu, nullptr) << "the menu never waited for input";

    const std::vector<MenuItem> expected{{ID_TRAY_SHOW, "&Trackglow?", false},
                                         {ID_TRAY_PREFERENCES, "&Preferences", false},
                                         {0, "", true},
                                         {ID_TRAY_ABOUT, "&About", false},
                                         {0, "", true},
                                         {ID_TRAY_EXIT, "E&xit", false}};
    EXPECT_EQ(seen.items, expected);
    EXPECT_EQ(seen.defaultItem, 0u);
    EXPECT_TRUE(seen.firstItemMarkedDefault);
    // The menu's top-left corner is at the cursor.
    EXPECT_EQ(seen.window.left, seen.cursor.x);
    EXPECT_EQ(seen.window.top, seen.cursor.y);

    // Loaded for this click and destroyed after it.
    EXPECT_FALSE(::IsMenu(seen.menu));
    PumpMessages();
    EXPECT_TRUE(m_target.commands.empty());
    EXPECT_GE(m_target.nulls, 1); // the WM_NULL that lets the menu close cleanly

    // Every click loads a menu of its own.
    OpenMenu again;
    EXPECT_EQ(RightClick(tray,
                         [&](HWND menuWindow) {
                             again = ReadMenu(menuWindow);
                             PostKeys(menuWindow, {VK_ESCAPE});
                         }),
              1);
    EXPECT_EQ(again.items, expected);
    EXPECT_EQ(again.defaultItem, 0u);
    PumpMessages();
    EXPECT_TRUE(m_target.commands.empty());
}

TEST_F(SystemTrayTest, ChoosingAnItemPostsItsCommandToTheMainWindow) {
    struct Choice {
        const char* how;
        std::vector<WPARAM> keys;
        WPARAM command;
    };
    const std::vector<Choice> choices{
        {"Down, Enter", {VK_DOWN, VK_RETURN}, ID_TRAY_SHOW},
        {"Down, Down, Enter", {VK_DOWN, VK_DOWN, VK_RETURN}, ID_TRAY_PREFERENCES},
        {"Up, Enter", {VK_UP, VK_RETURN}, ID_TRAY_EXIT},
        {"A", {'A'}, ID_TRAY_ABOUT},
        {"X", {'X'}, ID_TRAY_EXIT},
        {"T", {'T'}, ID_TRAY_SHOW},
    };
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.how);
        m_target.commands.clear();
        m_target.commandParams.clear();
        const LRESULT result = RightClick(tray, [&](HWND menuWindow) {
            for (WPARAM key : choice.keys)
                PostKeys(menuWindow, {key});
        });
        EXPECT_EQ(result, 1);
        // Posted: it arrives once messages are dispatched.
        EXPECT_TRUE(m_target.commands.empty());
        PumpMessages();
        EXPECT_EQ(m_target.commands, std::vector<WPARAM>{choice.command});
        EXPECT_EQ(m_target.commandParams, std::vector<LPARAM>{0});
    }
}

TEST_F(SystemTrayTest, WithoutItsMenuResourceTheIconAnswersZeroAndSendsNothing) {
    CSystemTray tray;
    constexpr UINT kNoSuchMenu = 77;
    AddAsTheProgramDoes(tray, kNoSuchMenu);
    ASSERT_EQ(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kNoSuchMenu)), nullptr);

    EXPECT_EQ(tray.OnIconNotify(kNoSuchMenu, WM_RBUTTONUP), 0);
    EXPECT_EQ(tray.OnIconNotify(kNoSuchMenu, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(tray.OnIconNotify(kNoSuchMenu, WM_MOUSEMOVE), 1);
    PumpMessages();
    EXPECT_TRUE(m_target.commands.empty());
    EXPECT_EQ(m_target.menuLoops, 0);
}

TEST_F(SystemTrayTest, WithdrawRemovesTheIconAndTheDestructorsSecondDeleteIsHarmless) {
    // A neighbour icon of the same window must survive everything below.
    CSystemTray neighbour;
    ASSERT_TRUE(neighbour.AddIcon(&m_target, kCallback, "neighbour", TrayIcon(), kIconId + 1));
    NOTIFYICONDATAA record{};
    HWND trayWindow = nullptr;
    {
        CSystemTray tray;
        // Owned by a window that outlives the tray, so only the tray's own
        // requests can take the icon away.
        ASSERT_TRUE(tray.AddIcon(&m_target, kCallback, "Trackglow", TrayIcon(), kIconId));
        record = tray.m_nid;
        trayWindow = tray.m_hWnd;
        ASSERT_TRUE(ShellHasIcon(record));

        tray.WithdrawIcon();
        EXPECT_FALSE(ShellHasIcon(record));
        EXPECT_TRUE(tray.m_bWithdrawn);
        EXPECT_TRUE(tray.m_bActive);
        EXPECT_TRUE(::IsWindow(trayWindow));

        tray.WithdrawIcon(); // a second withdraw changes nothing
        EXPECT_FALSE(ShellHasIcon(record));
        EXPECT_TRUE(ShellHasIcon(neighbour.m_nid));
    }
    // The destructor's delete request found nothing to remove, and failed quietly.
    EXPECT_FALSE(ShellHasIcon(record));
    EXPECT_FALSE(::IsWindow(trayWindow));
    EXPECT_TRUE(ShellHasIcon(neighbour.m_nid));
    EXPECT_TRUE(neighbour.m_bActive);
}

TEST_F(SystemTrayTest, TheDestructorRemovesAnIconThatWasNotWithdrawn) {
    NOTIFYICONDATAA record{};
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddIcon(&m_target, kCallback, "Trackglow", TrayIcon(), kIconId));
        record = tray.m_nid;
        ASSERT_TRUE(ShellHasIcon(record));
        tray.ReleaseIcon();
        EXPECT_FALSE(tray.m_bActive);
        EXPECT_FALSE(ShellHasIcon(record));
        // Once released the icon is no longer counted: a re-added one stays.
        ASSERT_TRUE(::Shell_NotifyIconA(NIM_ADD, &record));
        tray.ReleaseIcon();
        EXPECT_TRUE(ShellHasIcon(record));
        ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &record));
    }
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddIcon(&m_target, kCallback, "Trackglow", TrayIcon(), kIconId));
        record = tray.m_nid;
    }
    EXPECT_FALSE(ShellHasIcon(record));
}

TEST_F(SystemTrayTest, ARefusedAddLeavesTheTrayInactiveAndTouchesNoOtherIcon) {
    CSystemTray first;
    ASSERT_TRUE(first.AddIcon(&m_target, kCallback, "Trackglow", TrayIcon(), kIconId));
    {
        // The shell refuses a second icon with the same window and identifier.
        CSystemTray second;
        EXPECT_FALSE(second.AddIcon(&m_target, kCallback, "Trackglow", TrayIcon(), kIconId));
        EXPECT_FALSE(second.m_bActive);
        EXPECT_TRUE(::IsWindow(second.m_hWnd)); // made, but never notified

        second.WithdrawIcon();
        EXPECT_FALSE(second.m_bWithdrawn);
        EXPECT_TRUE(ShellHasIcon(first.m_nid));
        second.ReleaseIcon();
        EXPECT_TRUE(ShellHasIcon(first.m_nid));
    }
    EXPECT_TRUE(ShellHasIcon(first.m_nid));
    EXPECT_TRUE(first.m_bActive);
}

TEST_F(SystemTrayTest, ANewTaskBarGetsTheIconBackUntilItIsWithdrawn) {
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    NOTIFYICONDATAA record = tray.m_nid;

    // The shell restarts: its new task bar knows no icons, and it tells
    // every top-level window.
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &record));
    ASSERT_FALSE(ShellHasIcon(record));
    ::PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
    PumpMessages();
    EXPECT_TRUE(ShellHasIcon(record));
    EXPECT_TRUE(tray.m_bActive);
    EXPECT_EQ(tray.m_nid.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    // Still the same icon, with its menu.
    EXPECT_EQ(tray.OnIconNotify(kIconId, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(m_target.commands, std::vector<WPARAM>{ID_TRAY_SHOW});

    // A withdrawn icon stays gone.
    tray.WithdrawIcon();
    EXPECT_FALSE(ShellHasIcon(record));
    ::SendMessageA(tray.m_hWnd, taskbarCreated, 0, 0);
    EXPECT_FALSE(ShellHasIcon(record));
}

TEST_F(SystemTrayTest, ATaskBarAnnouncementWhileTheIconIsThereKeepsItRemovable) {
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    const NOTIFYICONDATAA record = tray.m_nid;

    // Announced although the icon never went away: the add request that
    // follows is refused as a duplicate, and the icon is still there.
    ::SendMessageA(tray.m_hWnd, taskbarCreated, 0, 0);
    ASSERT_TRUE(ShellHasIcon(record));
    EXPECT_TRUE(tray.m_bActive);

    // Exit must still take it away.
    tray.WithdrawIcon();
    EXPECT_FALSE(ShellHasIcon(record));
}

} // namespace
