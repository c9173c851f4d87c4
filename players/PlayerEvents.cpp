#include "players/PlayerEvents.h"
#include <wmp.h>
#include <wmpids.h>

void* CPlayerEvents::FindInterface(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, __uuidof(_WMPOCXEvents)))
        return static_cast<IDispatch*>(this);
    return nullptr;
}

STDMETHODIMP CPlayerEvents::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CPlayerEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CPlayerEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP CPlayerEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) {
    if (result)
        VariantInit(result);
    switch (id) {
    case DISPID_WMPCOREEVENT_PLAYSTATECHANGE:
    case DISPID_WMPCOREEVENT_CURRENTITEMCHANGE:
    case DISPID_WMPCOREEVENT_MEDIACHANGE:
        // Only a hint: the poll that follows reads the state and the media.
        if (m_changed)
            m_changed();
        break;
    default:
        break; // the player fires many more events; none of them is ours
    }
    return S_OK;
}
