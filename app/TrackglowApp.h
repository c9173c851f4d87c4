// The application object: start-up runs the main window modally; the program
// ends when that window does.
#pragma once
#include "framework/WinApp.h"

class CTrackglowApp : public CWinApp {
  public:
    BOOL InitInstance() override;
};
