// Ownership helpers for COM: ComPtr<T> holds one reference to an interface,
// BStr owns one BSTR. Both release what they hold when they go, so no early
// return can leak a reference or a string.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>
#include <utility>

template <class T> class ComPtr {
  public:
    ComPtr() = default;
    // Takes a new reference to `p` (as a copy of a borrowed pointer would).
    explicit ComPtr(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ComPtr() { Reset(); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    // Hands the reference over to the caller.
    T* Detach() { return std::exchange(m_p, nullptr); }

    // For out-parameters: releases what is held and returns the slot to fill.
    T** Put() {
        Reset();
        return &m_p;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  private:
    T* m_p = nullptr;
};

// Queries any interface pointer (which may be null) for U.
template <class U> ComPtr<U> QueryAs(IUnknown* p) {
    ComPtr<U> out;
    if (p)
        p->QueryInterface(__uuidof(U), out.PutVoid());
    return out;
}

class BStr {
  public:
    BStr() = default;
    explicit BStr(const wchar_t* text) : m_s(SysAllocString(text)) {}
    BStr(const BStr&) = delete;
    BStr& operator=(const BStr&) = delete;
    ~BStr() { Reset(); }

    BSTR Get() const { return m_s; }
    void Reset() {
        if (BSTR s = std::exchange(m_s, nullptr))
            SysFreeString(s);
    }
    BSTR* Put() {
        Reset();
        return &m_s;
    }

  private:
    BSTR m_s = nullptr;
};
