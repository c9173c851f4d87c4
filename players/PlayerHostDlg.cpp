#include "players/PlayerHostDlg.h"
#include "core/MediaText.h"
#include "framework/AxHost.h"
#include "framework/CodePage.h"
#include "players/PlayerConstants.h"
#include "players/PlayerEvents.h"
#include "players/RemoteHost.h"
#include "res/resource.h"
#include <new>

BEGIN_MESSAGE_MAP(CPlayerHostDlg, CDialog)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CPlayerHostDlg::CPlayerHostDlg() : CDialog(IDD_PLAYERHOST) {}

CPlayerHostDlg::~CPlayerHostDlg() {
    // The window goes first, while this object still handles its
    // WM_DESTROY: that releases the control before any member is destroyed.
    DestroyWindow();
}

HWND CPlayerHostDlg::CreateHost(HWND owner, std::function<void()> changed) {
    if (m_hWnd)
        return m_hWnd;
    m_changed = std::move(changed);
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
    if (SUCCEEDED(CreatePlayer(*hostWindow.Get())))
        m_spPlayer = QueryAs<IWMPPlayer4>(AxGetControl(m_hwndControl).Get());
}

HRESULT CPlayerHostDlg::CreatePlayer(IAxWinHostWindow& host) {
    // One control per window, events or not: each control is a session with
    // the player.
    BStr clsid(kMediaPlayerClsid);
    const HRESULT hr = host.CreateControl(clsid.Get(), m_hwndControl, nullptr);
    if (SUCCEEDED(hr) && m_changed)
        ConnectEvents();
    return hr;
}

void CPlayerHostDlg::ConnectEvents() {
    // A control that fires no such events is still read by the polls.
    auto container = QueryAs<IConnectionPointContainer>(AxGetControl(m_hwndControl).Get());
    ComPtr<IConnectionPoint> point;
    if (!container || FAILED(container->FindConnectionPoint(__uuidof(_WMPOCXEvents), point.Put())))
        return;
    ComPtr<CPlayerEvents> events(new (std::nothrow) CPlayerEvents(m_changed));
    DWORD cookie = 0;
    if (!events || FAILED(point->Advise(static_cast<IDispatch*>(events.Get()), &cookie))) {
        if (events)
            events->Detach();
        return;
    }
    m_spEvents = events;
    m_spEventPoint = point;
    m_dwEventCookie = cookie;
}

void CPlayerHostDlg::StopEvents() {
    if (m_spEvents)
        m_spEvents->Detach();
    m_changed = nullptr;
}

void CPlayerHostDlg::OnDestroy() {
    // An event fired while the control is being taken down reaches nobody,
    // and the control holds no sink of ours once it is released.
    StopEvents();
    if (m_spEventPoint)
        m_spEventPoint->Unadvise(m_dwEventCookie);
    m_spEventPoint.Reset();
    m_spPlayer.Reset();
    // Destroying the hosting window releases the control and the site.
    if (m_hwndControl && ::DestroyWindow(m_hwndControl))
        m_hwndControl = nullptr;
    m_spEvents.Reset();
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
