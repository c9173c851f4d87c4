#include "support/MediaPlayerWindow.h"

namespace e2e {

MediaPlayerWindow::MediaPlayerWindow(bool visible) {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TrackglowTestMediaPlayer";
        return RegisterClassA(&wc);
    }();
    m_window = CreateWindowExA(0, MAKEINTATOM(atom), "Windows Media Player",
                               WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 900, 600, 240, 120,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

MediaPlayerWindow::~MediaPlayerWindow() {
    Close();
}

void MediaPlayerWindow::Show(bool visible) {
    ShowWindow(m_window, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void MediaPlayerWindow::Close() {
    if (m_window) {
        DestroyWindow(m_window);
    }
    m_window = nullptr;
}

HWND PlayerHostWindow(const RunningProgram& program) {
    for (const WindowInfo& info : program.Windows()) {
        if (info.className == "#32770" && info.title == "ActiveX") {
            return info.window;
        }
    }
    return nullptr;
}

} // namespace e2e
