// CPlayerEvents: the sink the media player control fires its events into
// (the _WMPOCXEvents dispinterface). A new play state, a new current item or
// a change of the media call `changed`; every other event is ignored.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <functional>

// Created with `new` and a count of 0; deletes itself when the last reference
// goes. The control fires on the UI thread, so the count is a plain integer.
class CPlayerEvents final : public IDispatch {
  public:
    explicit CPlayerEvents(std::function<void()> changed) : m_changed(std::move(changed)) {}
    CPlayerEvents(const CPlayerEvents&) = delete;
    CPlayerEvents& operator=(const CPlayerEvents&) = delete;

    // From now on the events reach nobody (the control may hold the sink a
    // little longer than its listener lives).
    void Detach() { m_changed = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: events arrive through Invoke, by DISPID; there is no type
    // information.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

  private:
    ~CPlayerEvents() = default;

    ULONG m_cRef = 0;
    std::function<void()> m_changed;
};
