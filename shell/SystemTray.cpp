#include "shell/SystemTray.h"
#include "framework/WinApp.h"
#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

// The size of the record's first layout (a 63-character tooltip), which every
// version of the shell understands.
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V1_SIZE;
constexpr size_t kTooltipChars = 63;
// The menu's default item, drawn bold and run by a double-click: the first
// one, counted by position.
constexpr UINT kDefaultItemPosition = 0;

// Copies `text` into a record's buffer, cut to fit with its terminating NUL;
// a cut never splits a surrogate pair.
template <size_t N> void CopyCut(wchar_t (&buffer)[N], const wchar_t* text) {
    const wchar_t* source = text ? text : L"";
    size_t length = std::min(std::wcslen(source), N - 1);
    if (length == N - 1 && length > 0 && source[length - 1] >= 0xD800 &&
        source[length - 1] <= 0xDBFF)
        --length;
    std::memcpy(buffer, source, length * sizeof(wchar_t));
    buffer[length] = L'\0';
}

} // namespace

CSystemTray::~CSystemTray() {
    ReleaseIcon();
    DestroyWindow();
}

BOOL CSystemTray::AddIcon(CWnd* owner, UINT callbackMessage, const char* tooltip, HICON icon,
                          UINT id) {
    CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);

    m_nid.cbSize = kNotifyIconDataSize;
    m_nid.hWnd = owner && owner->m_hWnd ? owner->m_hWnd : m_hWnd;
    m_nid.uID = id;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    const char* tip = tooltip ? tooltip : "";
    const size_t length = std::min(std::strlen(tip), kTooltipChars);
    std::memcpy(m_nid.szTip, tip, length);
    m_nid.szTip[length] = '\0';
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

    m_bActive = ::Shell_NotifyIconA(NIM_ADD, &m_nid);
    return m_bActive;
}

CSystemTray::MenuPtr CSystemTray::LoadTrayMenu() const {
    MenuPtr menu(::LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nid.uID)));
    if (menu && !::GetSubMenu(menu.get(), 0))
        menu.reset();
    return menu;
}

LRESULT CSystemTray::OnIconNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_nid.uID)
        return 0;
    CWnd* main = AfxGetMainWnd();
    HWND target = main ? main->m_hWnd : nullptr;

    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP: {
        MenuPtr menu = LoadTrayMenu();
        if (!menu)
            return 0;
        HMENU popup = ::GetSubMenu(menu.get(), 0);
        ::SetMenuDefaultItem(popup, kDefaultItemPosition, TRUE);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        // The menu only closes when the user clicks elsewhere if its owner is
        // the foreground window; the WM_NULL afterwards lets it close cleanly.
        ::SetForegroundWindow(target);
        ::TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, target, nullptr);
        ::PostMessageA(target, WM_NULL, 0, 0);
        return 1;
    }
    case WM_LBUTTONDBLCLK: {
        ::SetForegroundWindow(target);
        MenuPtr menu = LoadTrayMenu();
        if (!menu)
            return 0;
        const UINT command =
            ::GetMenuItemID(::GetSubMenu(menu.get(), 0), static_cast<int>(kDefaultItemPosition));
        ::SendMessageA(target, WM_COMMAND, command, 0);
        return 1;
    }
    default:
        return 1;
    }
}

NOTIFYICONDATAW CSystemTray::BalloonRecord(const wchar_t* title, const wchar_t* text) const {
    // Balloons came with the record's second layout (its texts are UTF-16 here,
    // so they read the same whatever the code page). The same window and
    // identifier name the icon that was added in the first layout.
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = m_nid.hWnd;
    record.uID = m_nid.uID;
    record.uFlags = NIF_INFO;
    record.dwInfoFlags = NIIF_INFO;
    CopyCut(record.szInfoTitle, title);
    CopyCut(record.szInfo, text);
    return record;
}

BOOL CSystemTray::ShowBalloon(const wchar_t* title, const wchar_t* text) {
    if (!m_bActive || m_bWithdrawn)
        return FALSE;
    NOTIFYICONDATAW record = BalloonRecord(title, text);
    return ::Shell_NotifyIconW(NIM_MODIFY, &record);
}

void CSystemTray::WithdrawIcon() {
    if (m_bActive && !m_bWithdrawn) {
        m_nid.uFlags = NIF_ICON;
        ::Shell_NotifyIconA(NIM_DELETE, &m_nid);
        m_bWithdrawn = TRUE;
    }
}

void CSystemTray::ReleaseIcon() {
    if (m_bActive) {
        m_nid.uFlags = 0;
        ::Shell_NotifyIconA(NIM_DELETE, &m_nid);
        m_bActive = FALSE;
    }
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_nid.uCallbackMessage && m_nid.uCallbackMessage != 0)
        return OnIconNotify(wParam, lParam);
    // The shell restarted: its new task bar knows nothing of our icon.
    if (message == m_uTaskbarCreated && m_uTaskbarCreated != 0 && m_nid.cbSize != 0 &&
        !m_bWithdrawn) {
        m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        // A refused add may only mean the icon is still there (the message
        // can come without a restart): it stays counted, so Exit removes it.
        if (::Shell_NotifyIconA(NIM_ADD, &m_nid))
            m_bActive = TRUE;
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CSystemTray::ShowWelcomeBalloon() {
    return ShowBalloon(L"Trackglow",
                       L"Trackglow is here \u2014 right-click to choose your players");
}
