// CSystemTray: the program's icon in the notification area, the hidden
// window that receives its notifications, and its menu.
#pragma once
#include "framework/Wnd.h"
#include <shellapi.h>
#include <memory>
#include <type_traits>

class CSystemTray : public CWnd {
  public:
    ~CSystemTray() override;

    // Creates the tray window and adds the icon; TRUE when the shell took it.
    BOOL AddIcon(CWnd* owner, UINT callbackMessage, const char* tooltip, HICON icon, UINT id);
    // Handles one notification of the shell (wParam: icon id, low word of
    // lParam: the mouse message). 1 when it was for this icon, 0 otherwise or
    // when the menu resource is missing.
    virtual LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);
    // Shows a balloon from the icon: `title` above `text`, with the
    // information symbol. FALSE when the icon is not in the tray or the shell
    // refused the balloon.
    BOOL ShowBalloon(const wchar_t* title, const wchar_t* text);
    // The one balloon of the first start: where the program went and what to do first.
    BOOL ShowWelcomeBalloon();
    // The record ShowBalloon hands the shell (NIM_MODIFY, NIF_INFO); the texts
    // are cut to what the record holds.
    NOTIFYICONDATAW BalloonRecord(const wchar_t* title, const wchar_t* text) const;
    // Removes the icon at Exit.
    void WithdrawIcon();
    // Removes the icon if it is still counted as added.
    void ReleaseIcon();

    BOOL m_bActive = FALSE;
    BOOL m_bWithdrawn = FALSE;
    NOTIFYICONDATAA m_nid{};

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    struct MenuDeleter {
        void operator()(HMENU menu) const { ::DestroyMenu(menu); }
    };
    using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
    // Loads the tray menu anew; empty when it is missing or has no pop-up.
    MenuPtr LoadTrayMenu() const;
    UINT m_uTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
};
