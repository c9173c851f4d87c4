// The fake control's connection point for _WMPOCXEvents: sinks connect and
// disconnect here, and the control fires its events to them. It lives inside
// the control and shares its reference count.
#pragma once
#include <ocidl.h>
#include <vector>

class CFakeEventPoint final : public IConnectionPoint {
  public:
    explicit CFakeEventPoint(IConnectionPointContainer& owner) : m_owner(owner) {}
    ~CFakeEventPoint();
    CFakeEventPoint(const CFakeEventPoint&) = delete;
    CFakeEventPoint& operator=(const CFakeEventPoint&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner.Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    // Calls every connected sink's Invoke; returns how many were called.
    int Fire(DISPID id, DISPPARAMS& params);
    bool Connected() const { return !m_sinks.empty(); }

  private:
    struct Connection {
        DWORD cookie;
        IDispatch* sink; // one reference
    };
    IConnectionPointContainer& m_owner;
    std::vector<Connection> m_sinks;
    DWORD m_nextCookie = 1;
};
