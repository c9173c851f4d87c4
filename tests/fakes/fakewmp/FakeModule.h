// The fake control's DLL: its module handle and its count of live objects,
// which DllCanUnloadNow reports (tests use it to see that a host released
// everything it was given).
#pragma once
#include <windows.h>
#include <oaidl.h>

HMODULE FakeModuleHandle();

// Every COM object of the DLL derives from this, so it is counted.
class CFakeObject {
  public:
    CFakeObject();
    CFakeObject(const CFakeObject&) = delete;
    CFakeObject& operator=(const CFakeObject&) = delete;
    virtual ~CFakeObject();
};

// IDispatch for the player's dual interfaces: hosts call them through the
// vtable, so the fake offers no type information.
template <class Interface> class DispatchWithoutTypeInfo : public Interface {
  public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return E_NOTIMPL;
    }
};
