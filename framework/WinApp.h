// CWinApp: the one application object; the framework's entry point calls its
// InitInstance and ends the process with ExitInstance's result.
#pragma once
#include "framework/Wnd.h"

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program; when it returns, the process ends with ExitInstance's result.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr; // where menu commands of the tray icon go
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();

// Runs the application object: what WinMain does (also used by tests).
int AfxWinMain(HINSTANCE instance);
