#include "app/TrackglowApp.h"
#include "app/NowPlayingWnd.h"
#include "framework/AxHost.h"
#include "framework/AxModule.h"
#include "framework/FrameWnd.h"
#include <commctrl.h>
#include <memory>

CTrackglowApp theApp;
// The control-hosting module, torn down at process exit.
CComModuleLite g_hostingModule;

BOOL CTrackglowApp::InitInstance() {
    ::InitCommonControls(); // comctl32's export 17, imported by number
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    g_hostingModule.Init(m_hInstance, &kAxHostTypeLibId);

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
