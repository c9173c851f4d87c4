#include "framework/AxHostObject.h"
#include <olectl.h>

CAxHostObject::CAxHostObject(HWND window) : m_hWnd(window) {}

void CAxHostObject::ReleaseAll() {
    ReleaseControl();
    m_spSite.Reset();
    m_hWnd = nullptr;
}

RECT CAxHostObject::ClientRect() const {
    RECT rc{};
    if (m_hWnd)
        GetClientRect(m_hWnd, &rc);
    return rc;
}

void CAxHostObject::OnSize() {
    if (!m_bInPlaceActive)
        return;
    if (auto inPlace = QueryAs<IOleInPlaceObject>(m_spControl.Get())) {
        RECT rc = ClientRect();
        inPlace->SetObjectRects(&rc, &rc);
    }
}

// --- IUnknown ---------------------------------------------------------------

void* CAxHostObject::FindInterface(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IObjectWithSite))
        return static_cast<IObjectWithSite*>(this);
    if (IsEqualIID(iid, __uuidof(IAxWinHostWindow)))
        return static_cast<IAxWinHostWindow*>(this);
    if (IsEqualIID(iid, IID_IOleClientSite))
        return static_cast<IOleClientSite*>(this);
    // Windowed in-place activation only: Wine's media player control
    // over-releases a site that offers IOleInPlaceSiteWindowless.
    if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite) ||
        IsEqualIID(iid, IID_IOleInPlaceSiteEx))
        return static_cast<IOleInPlaceSiteEx*>(this);
    if (IsEqualIID(iid, IID_IOleControlSite))
        return static_cast<IOleControlSite*>(this);
    if (IsEqualIID(iid, IID_IServiceProvider))
        return static_cast<IServiceProvider*>(this);
    return nullptr;
}

// --- IObjectWithSite --------------------------------------------------------

STDMETHODIMP CAxHostObject::SetSite(IUnknown* site) {
    m_spSite = ComPtr<IUnknown>(site);
    return S_OK;
}

STDMETHODIMP CAxHostObject::GetSite(REFIID iid, void** site) {
    if (!site)
        return E_POINTER;
    *site = nullptr;
    if (!m_spSite)
        return E_FAIL;
    return m_spSite->QueryInterface(iid, site);
}

// --- IAxWinHostWindow -------------------------------------------------------

STDMETHODIMP CAxHostObject::CreateControl(LPCOLESTR text, HWND window, IStream* stream) {
    return CreateControlEx(text, window, stream, nullptr, IID_NULL, nullptr);
}

STDMETHODIMP CAxHostObject::CreateControlEx(LPCOLESTR text, HWND window, IStream* stream,
                                            IUnknown** control, REFIID sinkIid, IUnknown* sink) {
    if (control)
        *control = nullptr;
    if (!text)
        return E_POINTER;
    // A host embeds into its own window only.
    if (!m_hWnd || (window && window != m_hWnd))
        return E_INVALIDARG;

    CLSID clsid;
    HRESULT hr = CLSIDFromString(text, &clsid);
    if (FAILED(hr))
        hr = CLSIDFromProgID(text, &clsid);
    if (FAILED(hr))
        return hr;

    ReleaseControl();
    ComPtr<IUnknown> created;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IUnknown, created.PutVoid());
    if (FAILED(hr))
        return hr;
    hr = ActivateControl(created, stream);
    if (SUCCEEDED(hr) && sink && !IsEqualIID(sinkIid, IID_NULL))
        hr = Advise(sinkIid, sink);
    if (FAILED(hr)) {
        ReleaseControl();
        return hr;
    }
    if (control)
        *control = created.Detach();
    return S_OK;
}

HRESULT CAxHostObject::ActivateControl(const ComPtr<IUnknown>& control, IStream* stream) {
    m_spControl = control;
    m_spOleObject = QueryAs<IOleObject>(control.Get());

    DWORD misc = 0;
    if (m_spOleObject)
        m_spOleObject->GetMiscStatus(DVASPECT_CONTENT, &misc);
    // Some controls need their site while they initialise, others must not
    // see it before; the control says which.
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    HRESULT hr = S_OK;
    if (m_spOleObject && siteFirst)
        hr = m_spOleObject->SetClientSite(this);

    if (SUCCEEDED(hr)) {
        if (auto persistInit = QueryAs<IPersistStreamInit>(control.Get()))
            hr = stream ? persistInit->Load(stream) : persistInit->InitNew();
        else if (stream)
            if (auto persist = QueryAs<IPersistStream>(control.Get()))
                hr = persist->Load(stream);
    }
    if (SUCCEEDED(hr) && m_spOleObject && !siteFirst)
        hr = m_spOleObject->SetClientSite(this);

    if (SUCCEEDED(hr) && m_spOleObject) {
        RECT rc = ClientRect();
        hr = m_spOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_hWnd, &rc);
    }
    return hr;
}

HRESULT CAxHostObject::Advise(REFIID sinkIid, IUnknown* sink) {
    auto container = QueryAs<IConnectionPointContainer>(m_spControl.Get());
    if (!container)
        return E_NOINTERFACE;
    ComPtr<IConnectionPoint> point;
    HRESULT hr = container->FindConnectionPoint(sinkIid, point.Put());
    if (FAILED(hr))
        return hr;
    DWORD cookie = 0;
    hr = point->Advise(sink, &cookie);
    if (FAILED(hr))
        return hr;
    m_spSinkPoint = point;
    m_dwSinkCookie = cookie;
    return S_OK;
}

void CAxHostObject::ReleaseControl() {
    if (m_spSinkPoint) {
        m_spSinkPoint->Unadvise(m_dwSinkCookie);
        m_spSinkPoint.Reset();
        m_dwSinkCookie = 0;
    }
    if (m_spOleObject) {
        if (m_bInPlaceActive)
            if (auto inPlace = QueryAs<IOleInPlaceObject>(m_spOleObject.Get()))
                inPlace->InPlaceDeactivate();
        m_spOleObject->Close(OLECLOSE_NOSAVE);
        m_spOleObject->SetClientSite(nullptr);
        m_spOleObject.Reset();
    }
    m_spControl.Reset();
    m_bInPlaceActive = false;
}

// --- IOleClientSite ---------------------------------------------------------

STDMETHODIMP CAxHostObject::SaveObject() {
    return E_NOTIMPL;
}

STDMETHODIMP CAxHostObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

// Controls are hosted one per window, so there is no container of siblings.
STDMETHODIMP CAxHostObject::GetContainer(IOleContainer** container) {
    if (!container)
        return E_POINTER;
    *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CAxHostObject::ShowObject() {
    return S_OK;
}
STDMETHODIMP CAxHostObject::OnShowWindow(BOOL) {
    return S_OK;
}
STDMETHODIMP CAxHostObject::RequestNewObjectLayout() {
    return E_NOTIMPL;
}

// --- IOleWindow / IOleInPlaceSite(Ex) ---------------------------------------

STDMETHODIMP CAxHostObject::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
}

STDMETHODIMP CAxHostObject::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostObject::CanInPlaceActivate() {
    return m_hWnd ? S_OK : S_FALSE;
}

STDMETHODIMP CAxHostObject::OnInPlaceActivate() {
    m_bInPlaceActive = true;
    return S_OK;
}

STDMETHODIMP CAxHostObject::OnUIActivate() {
    return S_OK;
}

STDMETHODIMP CAxHostObject::GetWindowContext(IOleInPlaceFrame** frame,
                                             IOleInPlaceUIWindow** document, LPRECT posRect,
                                             LPRECT clipRect, LPOLEINPLACEFRAMEINFO frameInfo) {
    if (!frame || !document || !posRect || !clipRect || !frameInfo)
        return E_POINTER;
    if (!m_hWnd)
        return E_FAIL;
    m_frame.AddRef();
    *frame = &m_frame;
    *document = nullptr;
    *posRect = ClientRect();
    *clipRect = *posRect;
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = GetAncestor(m_hWnd, GA_ROOT);
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CAxHostObject::Scroll(SIZE) {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostObject::OnUIDeactivate(BOOL) {
    return S_OK;
}

STDMETHODIMP CAxHostObject::OnInPlaceDeactivate() {
    m_bInPlaceActive = false;
    return S_OK;
}

STDMETHODIMP CAxHostObject::DiscardUndoState() {
    return S_OK;
}

STDMETHODIMP CAxHostObject::DeactivateAndUndo() {
    if (auto inPlace = QueryAs<IOleInPlaceObject>(m_spControl.Get()))
        return inPlace->UIDeactivate();
    return E_UNEXPECTED;
}

STDMETHODIMP CAxHostObject::OnPosRectChange(LPCRECT posRect) {
    if (!posRect)
        return E_POINTER;
    if (auto inPlace = QueryAs<IOleInPlaceObject>(m_spControl.Get()))
        return inPlace->SetObjectRects(posRect, posRect);
    return S_OK;
}

STDMETHODIMP CAxHostObject::OnInPlaceActivateEx(BOOL* noRedraw, DWORD) {
    if (noRedraw)
        *noRedraw = FALSE;
    m_bInPlaceActive = true;
    return S_OK;
}

STDMETHODIMP CAxHostObject::OnInPlaceDeactivateEx(BOOL) {
    return OnInPlaceDeactivate();
}
STDMETHODIMP CAxHostObject::RequestUIActivate() {
    return S_OK;
}

// --- IOleControlSite --------------------------------------------------------

STDMETHODIMP CAxHostObject::OnControlInfoChanged() {
    return S_OK;
}
STDMETHODIMP CAxHostObject::LockInPlaceActive(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CAxHostObject::GetExtendedControl(IDispatch** extended) {
    if (!extended)
        return E_POINTER;
    *extended = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAxHostObject::TransformCoords(POINTL*, POINTF*, DWORD) {
    return E_NOTIMPL;
}
STDMETHODIMP CAxHostObject::TranslateAccelerator(MSG*, DWORD) {
    return S_FALSE;
}
STDMETHODIMP CAxHostObject::OnFocus(BOOL) {
    return S_OK;
}
STDMETHODIMP CAxHostObject::ShowPropertyFrame() {
    return E_NOTIMPL;
}

// --- IServiceProvider -------------------------------------------------------

// The host provides no services of its own: whatever the control asks for
// comes from the owner's site (for the media player, its remote services).
STDMETHODIMP CAxHostObject::QueryService(REFGUID service, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto provider = QueryAs<IServiceProvider>(m_spSite.Get());
    if (!provider)
        return E_NOINTERFACE;
    return provider->QueryService(service, iid, object);
}

// --- The in-place frame -----------------------------------------------------

STDMETHODIMP CAxHostObject::CFrame::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow) ||
        IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
        *object = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CAxHostObject::CFrame::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = m_host.m_hWnd ? GetAncestor(m_host.m_hWnd, GA_ROOT) : nullptr;
    return *window ? S_OK : E_FAIL;
}
