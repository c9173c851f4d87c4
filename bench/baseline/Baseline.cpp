// The benchmark's baseline: the least any Winamp watcher has to do. One
// hidden window whose timer, every 300 ms, finds Winamp's main window and
// reads its title — nothing else. Trackglow's idle cost and start-up time
// are reported relative to this program's.
#include "players/PlayerConstants.h"
#include <windows.h>

namespace {

constexpr char kClassName[] = "TrackglowBenchBaseline";
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 300;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: {
        char title[256];
        if (HWND winamp = FindWindowA(kWinampClass, nullptr))
            GetWindowTextA(winamp, title, sizeof title);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return 1;
    HWND window = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return 1;
    SetTimer(window, kPollTimer, kPollPeriodMs, nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
