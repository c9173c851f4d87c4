// CFrameWnd: a plain top-level window; the program uses one, never shown, as
// the owner of its main dialog.
#pragma once
#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
  public:
    // A window of `className` (null: the framework's default frame window
    // class) at the default position and size, with no parent and no menu.
    BOOL Create(const char* className, const char* windowName, DWORD style = WS_OVERLAPPEDWINDOW);
};
