#include "framework/Wnd.h"
#include "framework/WinApp.h"
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace {

// The window property that leads from a window to its C++ object.
const char kObjectProperty[] = "Trackglow.CWnd";

// The object whose window is being created on this thread, for the messages
// that arrive before CreateWindowEx returns (WM_NCCREATE gives it too, but
// WM_GETMINMAXINFO comes first).
thread_local CWnd* t_creating = nullptr;

} // namespace

CWnd::~CWnd() {
    if (m_hWnd && m_bOwnsWindow)
        ::DestroyWindow(m_hWnd);
    if (m_hWnd)
        DetachPermanent();
}

const MessageMap* CWnd::GetThisMessageMap() {
    static const MessageEntry entries[] = {{0, 0, 0, HandlerSig::End, {}}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

void CWnd::AttachPermanent(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetPropA(hwnd, kObjectProperty, this);
}

void CWnd::DetachPermanent() {
    if (m_hWnd && ::GetPropA(m_hWnd, kObjectProperty) == this)
        ::RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropA(hwnd, kObjectProperty)) : nullptr;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    m_bOwnsWindow = false;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu) {
    t_creating = this;
    HWND hwnd = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height,
                                  parent, menu, AfxGetInstanceHandle(), this);
    t_creating = nullptr;
    if (!hwnd)
        return FALSE;
    m_bOwnsWindow = true;
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse) const {
    return ::SetTimer(m_hWnd, id, elapse, nullptr);
}
BOOL CWnd::KillTimer(UINT_PTR id) const {
    return ::KillTimer(m_hWnd, id);
}
void CWnd::ScreenToClient(POINT* point) const {
    ::ScreenToClient(m_hWnd, point);
}
BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
}
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) const {
    ::InvalidateRect(m_hWnd, rect, erase);
}

HWND CWnd::GetSafeOwner(HWND parent) {
    if (parent)
        return parent;
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    if (!owner)
        return nullptr;
    // Climb to the top-level window, then take its active pop-up (an open
    // dialog), so a dialog opened from a dialog is owned by that dialog.
    while (HWND up = ::GetParent(owner)) {
        if (!(::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
            break;
        owner = up;
    }
    return ::GetLastActivePopup(owner);
}

void CWnd::CenterWindow(const RECT* area) {
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (area) {
        const int x = (area->left + area->right) / 2 - width / 2;
        const int y = (area->top + area->bottom) / 2 - height / 2;
        ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return;
    }

    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    CWnd* main = AfxGetMainWnd();
    HWND monitorWindow = owner ? owner : (main ? main->m_hWnd : m_hWnd);

    // Centre over the owner when it can be seen; otherwise over the work area
    // of the main window's monitor. Either way the result stays inside that
    // work area.
    RECT centreOn;
    bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
    if (!overOwner && main && main->m_hWnd)
        monitorWindow = main->m_hWnd;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(monitorWindow, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    if (overOwner)
        ::GetWindowRect(owner, &centreOn);
    else
        centreOn = work;

    int x = (centreOn.left + centreOn.right) / 2 - width / 2;
    int y = (centreOn.top + centreOn.bottom) / 2 - height / 2;
    if (x + width > work.right)
        x = work.right - width;
    if (x < work.left)
        x = work.left;
    if (y + height > work.bottom)
        y = work.bottom - height;
    if (y < work.top)
        y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const UINT id = message == WM_COMMAND ? LOWORD(wParam) : 0;
    const UINT code = message == WM_COMMAND ? HIWORD(wParam) : 0;
    for (const MessageMap* map = GetMessageMap(); map;
         map = map->m_pfnBase ? map->m_pfnBase() : nullptr) {
        for (const MessageEntry* entry = map->m_pEntries; entry->m_sig != HandlerSig::End;
             ++entry) {
            if (entry->m_nMessage != message || entry->m_nID != id || entry->m_nCode != code)
                continue;
            *result = 0;
            switch (entry->m_sig) {
            case HandlerSig::Lresult_WL:
                *result = (this->*(entry->m_fn.m_pfnWL))(wParam, lParam);
                break;
            case HandlerSig::Void:
                (this->*(entry->m_fn.m_pfnVoid))();
                break;
            case HandlerSig::Timer:
                (this->*(entry->m_fn.m_pfnTimer))(static_cast<UINT_PTR>(wParam));
                break;
            case HandlerSig::FlagsPoint: {
                POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                (this->*(entry->m_fn.m_pfnFlagsPoint))(static_cast<UINT>(wParam), point);
                break;
            }
            case HandlerSig::End:
                break;
            }
            return true;
        }
    }
    return false;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd && t_creating) {
        wnd = t_creating;
        wnd->AttachPermanent(hwnd);
    }
    if (!wnd)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        wnd->DetachPermanent();
        wnd->m_bOwnsWindow = false;
    }
    return result;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background) {
    // One class per combination of attributes, named after them so that the
    // same request finds the class it registered before; registered on first use.
    static std::mutex lock;
    static std::map<std::string, std::string> registered;
    char name[128];
    std::snprintf(name, sizeof name, "Tg:%p:%x:%p:%p", static_cast<void*>(AfxGetInstanceHandle()),
                  classStyle, static_cast<void*>(cursor), static_cast<void*>(background));
    std::lock_guard<std::mutex> guard(lock);
    auto found = registered.find(name);
    if (found != registered.end())
        return found->second.c_str();
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
    return registered.emplace(name, name).first->second.c_str();
}
