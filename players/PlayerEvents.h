// CPlayerEvents: the sink the media player control fires its events into
// (the _WMPOCXEvents dispinterface). A new play state, a new current item or
// a change of the media call `changed`; every other event is ignored.
#pragma once
#include "framework/ComObject.h"
#include <windows.h>
#include <oaidl.h>
#include <functional>

class CPlayerEvents final : public CComObject<IDispatch> {
  public:
    explicit CPlayerEvents(std::function<void()> changed) : m_changed(std::move(changed)) {}

    // From now on the events reach nobody (the control may hold the sink a
    // little longer than its listener lives).
    void Detach() { m_changed = nullptr; }

    // IDispatch: events arrive through Invoke, by DISPID; there is no type
    // information.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

  private:
    void* FindInterface(REFIID iid) override;

    std::function<void()> m_changed;
};
