// CComObject: IUnknown for an object made with `new` that implements
// `Interfaces`: a reference count that starts at 0 (the first ComPtr takes it
// to 1) and deletes the object when the last reference goes, and a
// QueryInterface that asks the object which of its interfaces an IID names.
// The count is atomic: some objects are called from other threads.
#pragma once
#include <unknwn.h>
#include <atomic>

template <class... Interfaces> class CComObject : public Interfaces... {
  public:
    CComObject() = default;
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = FindInterface(iid);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG count = --m_cRef;
        if (count == 0)
            delete this;
        return count;
    }

  protected:
    virtual ~CComObject() = default;
    // The object as the interface `iid` names (IUnknown included), or null.
    virtual void* FindInterface(REFIID iid) = 0;

  private:
    std::atomic<ULONG> m_cRef{0};
};
