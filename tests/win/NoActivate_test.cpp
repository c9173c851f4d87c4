// Asked whether a click may activate it, the pop-up says no: the window the
// user works in keeps the foreground and the focus (real clicks are checked
// end to end).
#include "SkinTestKit.h"

#include <gtest/gtest.h>

namespace {

TEST(NoActivate, ThePopupAnswersAClickThatItIsNotToBeActivated) {
    skintest::TestPopup popup;
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}) {
        EXPECT_EQ(::SendMessageA(popup.m_hWnd, WM_MOUSEACTIVATE,
                                 reinterpret_cast<WPARAM>(popup.m_hWnd),
                                 MAKELPARAM(HTCLIENT, press)),
                  MA_NOACTIVATE)
            << press;
    }
}

} // namespace
