// CModalDialogs: the modal dialogs a window runs (Preferences, About), so
// that a command that must not wait for them (Exit from the tray, chosen
// while one is open) can close them all and go on once they are gone.
#pragma once
#include "framework/Dialog.h"
#include <functional>

class CModalDialogs {
  public:
    // DoModal; IDCANCEL when CloseAll closed it.
    INT_PTR Run(CDialog& dialog);
    bool AnyOpen() const { return m_open > 0; }
    // Cancels every dialog of this thread the user can see (but `keep`);
    // `then` runs once the outermost of them has returned.
    void CloseAll(HWND keep, std::function<void()> then);

  private:
    int m_open = 0;
    std::function<void()> m_then;
};
