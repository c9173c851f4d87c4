#include "players/PlayerHostDlg.h"
#include "core/MediaText.h"
#include "framework/AxHost.h"
#include "framework/CodePage.h"
#include "players/PlayerConstants.h"
#include "players/RemoteHost.h"
#include "res/resource.h"
#include <new>

BEGIN_MESSAGE_MAP(CPlayerHostDlg, CDialog)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CPlayerHostDlg::CPlayerHostDlg() : CDialog(IDD_PLAYERHOST) {}

HWND CPlayerHostDlg::CreateHost(HWND owner) {
    if (m_hWnd)
        return m_hWnd;
    AtlAxWinInit();
    // WM_INITDIALOG, which embeds the control, arrives before this returns.
    return Create(IDD_PLAYERHOST, owner) ? m_hWnd : nullptr;
}

BOOL CPlayerHostDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    EmbedPlayer();
    return FALSE;
}

void CPlayerHostDlg::EmbedPlayer() {
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
    if (m_hwndControl && ::DestroyWindow(m_hwndControl))
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
    m_strText = ComposeMediaText(WideToAnsi(author.Get()), WideToAnsi(name.Get()), AnsiCharRule());
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
