#include "support/FakeWinamp.h"

#include <cstring>
#include <stdexcept>

namespace e2e {

FakeWinamp::FakeWinamp(const std::string& title, Renames renames) : m_renames(renames) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &FakeWinamp::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWinampClass;
    // Registered anew for each fake; an earlier registration is still fine.
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the window class Winamp v1.x");
    }
    m_window = CreateWindowExA(0, kWinampClass, title.c_str(), WS_OVERLAPPEDWINDOW, 900, 600, 275,
                               116, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (m_window == nullptr) {
        throw std::runtime_error("cannot create the fake Winamp window");
    }
}

FakeWinamp::FakeWinamp(const std::wstring& title, Renames renames) : m_renames(renames) {
    const std::wstring className(kWinampClass, kWinampClass + std::strlen(kWinampClass));
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &FakeWinamp::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the window class Winamp v1.x");
    }
    m_window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 900, 600,
                               275, 116, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (m_window == nullptr) {
        throw std::runtime_error("cannot create the fake Winamp window");
    }
    if (!IsWindowUnicode(m_window)) {
        DestroyWindow(m_window);
        throw std::runtime_error("the class Winamp v1.x is still registered as ANSI");
    }
}

FakeWinamp::~FakeWinamp() {
    DestroyWindow(m_window);
    UnregisterClassA(kWinampClass, GetModuleHandleA(nullptr));
}

void FakeWinamp::SetTitle(const std::string& title) {
    SetWindowTextA(m_window, title.c_str());
}

void FakeWinamp::AnnounceRename() const {
    // Wine notes which hooks exist only when a thread retrieves a message;
    // without a fresh note this thread would tell no hook set since.
    MSG msg;
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_window, OBJID_WINDOW, CHILDID_SELF);
}

void FakeWinamp::SetTitle(const std::wstring& title) {
    SetWindowTextW(m_window, title.c_str());
}

std::string FakeWinamp::Title() const {
    char title[1024] = {};
    GetWindowTextA(m_window, title, sizeof title);
    return title;
}

std::vector<WPARAM> FakeWinamp::CommandIds() const {
    std::vector<WPARAM> ids;
    for (const ReceivedCommand& command : m_commands) {
        ids.push_back(command.wParam);
    }
    return ids;
}

LRESULT CALLBACK FakeWinamp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FakeWinamp*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COMMAND && self != nullptr) {
        self->m_commands.push_back(ReceivedCommand{wParam, lParam});
        return 0;
    }
    if (message == WM_GETTEXT && self != nullptr)
        ++self->m_textReads;
    const bool unicode = IsWindowUnicode(window) != FALSE;
    if (message == WM_SETTEXT && self != nullptr) {
        const LRESULT result = unicode ? DefWindowProcW(window, message, wParam, lParam)
                                       : DefWindowProcA(window, message, wParam, lParam);
        if (self->m_renames == Renames::Announced)
            self->AnnounceRename();
        return result;
    }
    return unicode ? DefWindowProcW(window, message, wParam, lParam)
                   : DefWindowProcA(window, message, wParam, lParam);
}

} // namespace e2e
