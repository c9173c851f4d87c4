#include "players/MediaSessionDelegates.h"

#include <objidl.h>

void CPostBox::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_window)
        ::PostMessageW(m_window, message, wParam, lParam);
}

void CPostBox::Close() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_window = nullptr;
}

template <class Interface>
CAgileDelegate<Interface>::CAgileDelegate(const IID& iid, std::shared_ptr<CPostBox> box,
                                          UINT message, WPARAM wParam)
    : m_iid(iid), m_box(std::move(box)), m_message(message), m_wParam(wParam) {
    // Without it the delegate is still agile to the runtime (IAgileObject).
    if (FAILED(::CoCreateFreeThreadedMarshaler(this, &m_marshaler)))
        m_marshaler = nullptr;
}

template <class Interface> CAgileDelegate<Interface>::~CAgileDelegate() {
    if (m_marshaler)
        m_marshaler->Release();
}

template <class Interface>
STDMETHODIMP CAgileDelegate<Interface>::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_iid) ||
        IsEqualIID(iid, IID_IAgileObject)) {
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    if (IsEqualIID(iid, IID_IMarshal) && m_marshaler)
        return m_marshaler->QueryInterface(iid, object);
    return E_NOINTERFACE;
}

template <class Interface> STDMETHODIMP_(ULONG) CAgileDelegate<Interface>::Release() {
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

using namespace media_control;
template class CAgileDelegate<SessionEventHandler>;
template class CAgileDelegate<ManagerEventHandler>;
template class CAgileDelegate<ManagerCompletedHandler>;
template class CAgileDelegate<PropertiesCompletedHandler>;
