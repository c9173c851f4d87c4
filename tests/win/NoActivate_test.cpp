// Clicks on the pop-up, made with the mouse through the system's input queue
// (SendInput), while another window of the desktop is the one the user works
// in: the pop-up gets the clicks and is asked whether to be activated, and
// the user's window keeps the foreground, the activation and the focus.
#include "SkinTestKit.h"

#include "framework/WinApp.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

using namespace skintest;

namespace {

constexpr POINT kPopupCorner{200, 300};
// Client points: the text area, and the Next button of the narrowest pop-up.
constexpr POINT kText{30, 20};
constexpr POINT kNext{303, 33};

// The pop-up, counting the mouse messages it gets.
class CountingPopup : public TestPopup {
  public:
    int activationQuestions = 0;
    LRESULT lastActivationAnswer = -1;
    int presses = 0, doublePresses = 0, releases = 0;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = TestPopup::WindowProc(message, wParam, lParam);
        switch (message) {
        case WM_MOUSEACTIVATE:
            ++activationQuestions;
            lastActivationAnswer = ::GetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT);
            break;
        case WM_LBUTTONDOWN:
            ++presses;
            break;
        case WM_LBUTTONDBLCLK:
            ++doublePresses;
            break;
        case WM_LBUTTONUP:
            ++releases;
            break;
        default:
            break;
        }
        return result;
    }
};

// The window the user works in: a top-level window with an edit box.
class UserWindow {
  public:
    UserWindow() {
        m_window = ::CreateWindowExA(0, "STATIC", "user's window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     600, 500, 300, 200, nullptr, nullptr, nullptr, nullptr);
        m_edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200,
                                   24, m_window, nullptr, nullptr, nullptr);
    }
    ~UserWindow() { ::DestroyWindow(m_window); }
    UserWindow(const UserWindow&) = delete;
    UserWindow& operator=(const UserWindow&) = delete;

    HWND Window() const { return m_window; }
    HWND Edit() const { return m_edit; }

  private:
    HWND m_window = nullptr;
    HWND m_edit = nullptr;
};

bool PumpUntil(const std::function<bool()>& done) {
    const ULONGLONG end = ::GetTickCount64() + 10000;
    while (!done()) {
        if (::GetTickCount64() > end)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void ClickAt(POINT screen, int clicks) {
    ::SetCursorPos(screen.x, screen.y);
    for (int i = 0; i < clicks; ++i) {
        INPUT inputs[2] = {};
        inputs[0].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].type = INPUT_MOUSE;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, inputs, sizeof(INPUT));
    }
}

POINT OnScreen(POINT client) {
    return POINT{kPopupCorner.x + client.x, kPopupCorner.y + client.y};
}

class NoActivateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(m_popup.m_hWnd, nullptr);
        m_popup.LayoutPopup();
        // Up and topmost, as the pop-up shows itself, without activation.
        ::SetWindowPos(m_popup.m_hWnd, HWND_TOPMOST, kPopupCorner.x, kPopupCorner.y, 317, 66,
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::SetForegroundWindow(m_user.Window());
        ::SetFocus(m_user.Edit());
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == m_user.Window(); }));
        ASSERT_EQ(::GetFocus(), m_user.Edit());
    }
    void TearDown() override {
        ::SetCursorPos(0, 700);
        ::ShowWindow(m_popup.m_hWnd, SW_HIDE);
    }

    void ExpectTheUserKeepsTheFocus() {
        EXPECT_EQ(::GetForegroundWindow(), m_user.Window());
        EXPECT_EQ(::GetActiveWindow(), m_user.Window());
        EXPECT_EQ(::GetFocus(), m_user.Edit());
    }

    UserWindow m_user;
    CountingPopup m_popup;
};

TEST_F(NoActivateTest, AClickOnTheTextLeavesTheFocusWhereItWas) {
    ClickAt(OnScreen(kText), 1);
    ASSERT_TRUE(PumpUntil([&] { return m_popup.releases == 1; })) << "the click never arrived";
    EXPECT_EQ(m_popup.presses, 1);
    EXPECT_GE(m_popup.activationQuestions, 1);
    EXPECT_EQ(m_popup.lastActivationAnswer, MA_NOACTIVATE);
    ExpectTheUserKeepsTheFocus();
}

TEST_F(NoActivateTest, AClickOnAButtonLeavesTheFocusWhereItWas) {
    ClickAt(OnScreen(kNext), 1);
    ASSERT_TRUE(PumpUntil([&] { return m_popup.releases == 1; })) << "the click never arrived";
    EXPECT_EQ(m_popup.presses, 1);
    ExpectTheUserKeepsTheFocus();
}

TEST_F(NoActivateTest, ADoubleClickLeavesTheFocusWhereItWas) {
    ClickAt(OnScreen(kNext), 2);
    ASSERT_TRUE(PumpUntil([&] { return m_popup.releases == 2; })) << "the clicks never arrived";
    // The second press of a double click arrives as such.
    EXPECT_EQ(m_popup.presses + m_popup.doublePresses, 2);
    EXPECT_GE(m_popup.activationQuestions, 2);
    ExpectTheUserKeepsTheFocus();
}

TEST_F(NoActivateTest, ThePopupAnswersThatItIsNotToBeActivated) {
    const LRESULT answer =
        ::SendMessageA(m_popup.m_hWnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_popup.m_hWnd),
                       MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(answer, MA_NOACTIVATE);
}

} // namespace
