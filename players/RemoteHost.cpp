#include "players/RemoteHost.h"
#include <oleauto.h>

CRemoteHost::CRemoteHost(HINSTANCE resources)
    : m_hResources(resources ? resources : GetModuleHandleW(nullptr)) {}

void* CRemoteHost::FindInterface(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IServiceProvider))
        return static_cast<IServiceProvider*>(this);
    if (IsEqualIID(iid, __uuidof(IWMPRemoteMediaServices)))
        return static_cast<IWMPRemoteMediaServices*>(this);
    return nullptr;
}

STDMETHODIMP CRemoteHost::QueryService(REFGUID, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    return QueryInterface(iid, object);
}

STDMETHODIMP CRemoteHost::GetServiceType(BSTR* type) {
    if (!type)
        return E_POINTER;
    *type = SysAllocString(L"Remote");
    return *type ? S_OK : E_POINTER;
}

STDMETHODIMP CRemoteHost::GetApplicationName(BSTR* name) {
    if (!name)
        return E_POINTER;
    // With a zero buffer size LoadStringW hands out the resource text itself.
    const wchar_t* text = nullptr;
    int length =
        LoadStringW(m_hResources, IDS_REMOTE_APPLICATION, reinterpret_cast<LPWSTR>(&text), 0);
    *name = length > 0 && text ? SysAllocStringLen(text, static_cast<UINT>(length)) : nullptr;
    return *name ? S_OK : E_POINTER;
}

STDMETHODIMP CRemoteHost::GetScriptableObject(BSTR* name, IDispatch** dispatch) {
    if (name)
        *name = nullptr;
    if (dispatch)
        *dispatch = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CRemoteHost::GetCustomUIMode(BSTR*) {
    return E_NOTIMPL;
}
