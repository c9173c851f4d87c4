#include "tests/fakes/fakewmp/FakeEventPoint.h"
#include <olectl.h>
#include <wmp.h>

CFakeEventPoint::~CFakeEventPoint() {
    for (const Connection& connection : m_sinks)
        connection.sink->Release();
}

STDMETHODIMP CFakeEventPoint::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint))
        return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CFakeEventPoint::GetConnectionInterface(IID* iid) {
    if (!iid)
        return E_POINTER;
    *iid = __uuidof(_WMPOCXEvents);
    return S_OK;
}

STDMETHODIMP CFakeEventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container)
        return E_POINTER;
    m_owner.AddRef();
    *container = &m_owner;
    return S_OK;
}

STDMETHODIMP CFakeEventPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    // As the real control does: the sink must speak the events' interface.
    IDispatch* events = nullptr;
    if (FAILED(sink->QueryInterface(__uuidof(_WMPOCXEvents), reinterpret_cast<void**>(&events))) ||
        !events)
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.push_back(Connection{*cookie, events});
    return S_OK;
}

STDMETHODIMP CFakeEventPoint::Unadvise(DWORD cookie) {
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
        if (it->cookie == cookie) {
            IDispatch* sink = it->sink;
            m_sinks.erase(it);
            sink->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP CFakeEventPoint::EnumConnections(IEnumConnections** connections) {
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

int CFakeEventPoint::Fire(DISPID id, DISPPARAMS& params) {
    // A sink may disconnect while it handles the event: call a copy.
    std::vector<Connection> sinks = m_sinks;
    for (const Connection& connection : sinks)
        connection.sink->AddRef();
    for (const Connection& connection : sinks) {
        connection.sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                nullptr, nullptr, nullptr);
        connection.sink->Release();
    }
    return static_cast<int>(sinks.size());
}
