#include "app/TrackglowApp.h"
#include "app/NowPlayingWnd.h"
#include "framework/AxHost.h"
#include "framework/FrameWnd.h"
#include <commctrl.h>
#include <memory>

CTrackglowApp theApp;

BOOL CTrackglowApp::InitInstance() {
    ::InitCommonControls(); // comctl32's export 17, imported by number
    CWinApp::InitInstance();
    AfxEnableControlContainer();

    // The hidden owner of the main window: it keeps the pop-up off the task bar.
    auto frame = std::make_unique<CFrameWnd>();
    frame->Create(nullptr, nullptr, WS_OVERLAPPEDWINDOW);
    {
        CNowPlayingWnd window(frame.get());
        m_pMainWnd = &window;
        window.DoModal();
        m_pMainWnd = nullptr;
        frame.reset();
    }
    return FALSE;
}
