#include "players/PlayerHostDlg.h"
#include "config/Settings.h"
#include "framework/AxHost.h"
#include "players/MediaText.h"
#include "players/RemoteHost.h"
#include "res/resource.h"
#include <new>
#include <utility>

namespace {

// The object whose dialog is being created on this thread: the dialog
// procedure ties the new window to it on the window's first message.
thread_local CPlayerHostDlg* t_creating = nullptr;

// The player's texts in the ANSI code page that the rest of the program
// draws and searches with; a null string is the empty text.
std::string Narrow(const BStr& text) {
    const int length = lstrlenW(text.Get());
    if (length <= 0)
        return {};
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, text.Get(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.Get(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

} // namespace

CPlayerHostDlg::~CPlayerHostDlg() {
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

HWND CPlayerHostDlg::CreateHost(HWND parent, LPARAM init) {
    if (m_hWnd)
        return m_hWnd;
    AtlAxWinInit();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(IDD_PLAYERHOST), RT_DIALOG);
    if (!resource)
        return nullptr;
    auto* dialog = static_cast<LPCDLGTEMPLATEA>(LockResource(LoadResource(instance, resource)));
    if (!dialog)
        return nullptr;
    t_creating = this;
    // WM_INITDIALOG, which embeds the control, arrives before this returns.
    HWND window = CreateDialogIndirectParamA(instance, dialog, parent, DialogProc, init);
    t_creating = nullptr;
    return window;
}

INT_PTR CALLBACK CPlayerHostDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    auto* self = reinterpret_cast<CPlayerHostDlg*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self && t_creating) {
        self = std::exchange(t_creating, nullptr);
        self->m_hWnd = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return FALSE;

    switch (message) {
    case WM_INITDIALOG:
        self->OnInitDialog();
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(window);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        self->OnDestroy();
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        break;
    }
    return FALSE;
}

void CPlayerHostDlg::OnInitDialog() {
    m_hwndControl = CreateWindowExA(0, kAxWinClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 200,
                                    m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!IsWindow(m_hwndControl))
        return;
    auto withSite = QueryAs<IObjectWithSite>(AxGetHost(m_hwndControl).Get());
    if (!withSite)
        return;
    // The host keeps its own reference to the site for as long as it lives.
    ComPtr<CRemoteHost> remote(new (std::nothrow) CRemoteHost);
    if (!remote)
        return;
    // The site comes first: the control asks for the remote services while
    // it is being created.
    if (FAILED(withSite->SetSite(static_cast<IWMPRemoteMediaServices*>(remote.Get()))))
        return;
    auto hostWindow = QueryAs<IAxWinHostWindow>(AxGetHost(m_hwndControl).Get());
    if (!hostWindow)
        return;
    BStr clsid(kMediaPlayerClsid);
    if (SUCCEEDED(hostWindow->CreateControl(clsid.Get(), m_hwndControl, nullptr)))
        m_spPlayer = QueryAs<IWMPPlayer4>(AxGetControl(m_hwndControl).Get());
}

void CPlayerHostDlg::OnDestroy() {
    m_spPlayer.Reset();
    // Destroying the hosting window releases the control and the site.
    if (m_hwndControl && DestroyWindow(m_hwndControl))
        m_hwndControl = nullptr;
}

bool CPlayerHostDlg::IsPlaying() {
    if (!m_spPlayer)
        return false;
    WMPPlayState state = wmppsUndefined;
    return SUCCEEDED(m_spPlayer->get_playState(&state)) && state == wmppsPlaying;
}

const std::string& CPlayerHostDlg::ReadTrackText() {
    m_strText.clear();
    if (!m_spPlayer)
        return m_strText;
    ComPtr<IWMPMedia> media;
    if (FAILED(m_spPlayer->get_currentMedia(media.Put())) || !media)
        return m_strText;
    BStr authorAttribute(L"Author");
    BStr author;
    media->getItemInfo(authorAttribute.Get(), author.Put());
    BStr name;
    media->get_name(name.Put());
    m_strText = ComposeMediaText(Narrow(author), Narrow(name), AnsiLeadByte);
    return m_strText;
}

ComPtr<IWMPControls> CPlayerHostDlg::Controls() {
    ComPtr<IWMPControls> controls;
    if (m_spPlayer)
        m_spPlayer->get_controls(controls.Put());
    return controls;
}

void CPlayerHostDlg::Previous() {
    if (auto controls = Controls())
        controls->previous();
}

void CPlayerHostDlg::Next() {
    if (auto controls = Controls())
        controls->next();
}
