#include "tests/fakes/fakewmp/FakePlayer.h"
#include "tests/fakes/fakewmp/FakeMedia.h"
#include "tests/fakes/fakewmp/FakeState.h"
#include "tests/fakes/fakewmp/FakeWmpMessages.h"
#include <servprov.h>
#include <olectl.h>
#include <wmpids.h>
#include <new>

CFakePlayer::~CFakePlayer() {
    SetClientSite(nullptr);
    // A host must disconnect its sink before it lets go of the control.
    AppendFakeLog(m_events.Connected() ? "released with a sink connected" : "released");
}

STDMETHODIMP CFakePlayer::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
        *object = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
        *object = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit))
        *object = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPointContainer))
        *object = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, __uuidof(IWMPCore)) ||
             IsEqualIID(iid, __uuidof(IWMPCore2)) || IsEqualIID(iid, __uuidof(IWMPCore3)) ||
             IsEqualIID(iid, __uuidof(IWMPPlayer4)))
        *object = static_cast<IWMPPlayer4*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFakePlayer::Release() {
    ULONG count = --m_cRef;
    if (count == 0)
        delete this;
    return count;
}

// --- The control as a container sees it --------------------------------------

bool CFakePlayer::SiteIsRemote() const {
    auto provider = QueryAs<IServiceProvider>(m_spSite.Get());
    if (!provider)
        return false;
    ComPtr<IWMPRemoteMediaServices> services;
    if (FAILED(provider->QueryService(__uuidof(IWMPRemoteMediaServices),
                                      __uuidof(IWMPRemoteMediaServices), services.PutVoid())) ||
        !services)
        return false;
    BStr type;
    return SUCCEEDED(services->GetServiceType(type.Put())) && type.Get() &&
           lstrcmpW(type.Get(), L"Remote") == 0;
}

STDMETHODIMP CFakePlayer::SetClientSite(IOleClientSite* site) {
    if (m_spSite)
        InPlaceDeactivate();
    m_spSite = ComPtr<IOleClientSite>(site);
    m_bRemote = false;
    if (site) {
        m_bRemote = SiteIsRemote();
        AppendFakeLog(m_bRemote ? "remote" : "local");
    }
    return S_OK;
}

STDMETHODIMP CFakePlayer::GetClientSite(IOleClientSite** site) {
    if (!site)
        return E_POINTER;
    *site = ComPtr<IOleClientSite>(m_spSite).Detach();
    return *site ? S_OK : E_FAIL;
}

STDMETHODIMP CFakePlayer::Close(DWORD) {
    return InPlaceDeactivate();
}

STDMETHODIMP CFakePlayer::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
    switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_SHOW:
    case OLEIVERB_PRIMARY:
        return ActivateInPlace();
    case OLEIVERB_HIDE:
        if (m_hWnd)
            ShowWindow(m_hWnd, SW_HIDE);
        return S_OK;
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT CFakePlayer::ActivateInPlace() {
    if (m_hWnd)
        return S_OK;
    auto site = QueryAs<IOleInPlaceSite>(m_spSite.Get());
    if (!site)
        return E_NOINTERFACE;
    if (site->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    HWND parent = nullptr;
    if (FAILED(site->GetWindow(&parent)) || !parent)
        return E_FAIL;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    HRESULT hr = site->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &frameInfo);
    if (FAILED(hr))
        return hr;
    site->OnInPlaceActivate();
    m_hWnd = CreateWindowExA(0, "STATIC", "Fake media player", WS_CHILD | WS_VISIBLE, position.left,
                             position.top, position.right - position.left,
                             position.bottom - position.top, parent, nullptr, FakeModuleHandle(),
                             nullptr);
    if (!m_hWnd) {
        site->OnInPlaceDeactivate();
        return E_FAIL;
    }
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_staticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CFakePlayer::WindowProc)));
    m_spSite->ShowObject();
    return S_OK;
}

LRESULT CALLBACK CFakePlayer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT fire = RegisterWindowMessageA(kFakeWmpFireMessage);
    static const UINT reads = RegisterWindowMessageA(kFakeWmpReadsMessage);
    auto* self = reinterpret_cast<CFakePlayer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == fire)
        return self->Fire(static_cast<DISPID>(wParam));
    if (message == reads)
        return self->m_nPlayStateReads;
    return CallWindowProcA(self->m_staticProc, window, message, wParam, lParam);
}

LRESULT CFakePlayer::Fire(DISPID id) {
    // The arguments the real control passes with these events.
    VARIANT argument;
    VariantInit(&argument);
    DISPPARAMS params{&argument, nullptr, 1, 0};
    const FakeMediaState state = ReadFakeState();
    switch (id) {
    case DISPID_WMPCOREEVENT_PLAYSTATECHANGE:
        argument.vt = VT_I4;
        argument.lVal = state.playState;
        break;
    case DISPID_WMPCOREEVENT_CURRENTITEMCHANGE:
    case DISPID_WMPCOREEVENT_MEDIACHANGE:
        argument.vt = VT_DISPATCH;
        argument.pdispVal = state.hasMedia ? new (std::nothrow) CFakeMedia(state) : nullptr;
        break;
    default:
        params.cArgs = 0;
        params.rgvarg = nullptr;
        break;
    }
    const int reached = m_events.Fire(id, params);
    VariantClear(&argument);
    return reached;
}

STDMETHODIMP CFakePlayer::GetUserClassID(CLSID* clsid) {
    return GetClassID(clsid);
}

STDMETHODIMP CFakePlayer::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (!status)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return E_NOTIMPL;
    // Like the real control: it needs its site before it initialises.
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

STDMETHODIMP CFakePlayer::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
}

STDMETHODIMP CFakePlayer::InPlaceDeactivate() {
    if (!m_hWnd)
        return S_OK;
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    if (auto site = QueryAs<IOleInPlaceSite>(m_spSite.Get()))
        site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP CFakePlayer::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position)
        return E_POINTER;
    if (m_hWnd)
        SetWindowPos(m_hWnd, nullptr, position->left, position->top,
                     position->right - position->left, position->bottom - position->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

STDMETHODIMP CFakePlayer::GetClassID(CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = __uuidof(WindowsMediaPlayer);
    return S_OK;
}

STDMETHODIMP CFakePlayer::InitNew() {
    return m_spSite ? S_OK : E_UNEXPECTED;
}

STDMETHODIMP CFakePlayer::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CFakePlayer::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(iid, __uuidof(_WMPOCXEvents)) || !ReadFakeState().offersEvents)
        return CONNECT_E_NOCONNECTION;
    *point = &m_events;
    m_events.AddRef();
    return S_OK;
}

// --- The player ----------------------------------------------------------------

STDMETHODIMP CFakePlayer::get_playState(WMPPlayState* state) {
    if (!state)
        return E_POINTER;
    if (!m_bRemote)
        return E_UNEXPECTED;
    ++m_nPlayStateReads;
    *state = static_cast<WMPPlayState>(ReadFakeState().playState);
    return S_OK;
}

STDMETHODIMP CFakePlayer::get_controls(IWMPControls** controls) {
    if (!controls)
        return E_POINTER;
    *controls = nullptr;
    if (!m_bRemote)
        return E_UNEXPECTED;
    *controls = new (std::nothrow) CFakeControls;
    return *controls ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CFakePlayer::get_currentMedia(IWMPMedia** media) {
    if (!media)
        return E_POINTER;
    *media = nullptr;
    if (!m_bRemote)
        return E_UNEXPECTED;
    const FakeMediaState state = ReadFakeState();
    if (!state.hasMedia)
        return S_FALSE;
    *media = new (std::nothrow) CFakeMedia(state);
    return *media ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CFakePlayer::get_isRemote(VARIANT_BOOL* remote) {
    if (!remote)
        return E_POINTER;
    *remote = m_bRemote ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}
