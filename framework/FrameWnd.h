// CFrameWnd: a plain top-level window; the program uses one, never shown, as
// the owner of its main dialog.
#pragma once
#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
  public:
    BOOL Create(const char* className, const char* windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT* rect = nullptr, HWND parent = nullptr, HMENU menu = nullptr,
                DWORD exStyle = 0);
};

// The framework's default frame window class.
const char* AfxFrameWndClass();
