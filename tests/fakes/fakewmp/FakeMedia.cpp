#include "tests/fakes/fakewmp/FakeMedia.h"

namespace {

// Out-strings are null for what the state file left out, as a player gives
// for a missing attribute.
HRESULT CopyOut(bool present, const std::wstring& text, BSTR* out) {
    if (!out)
        return E_POINTER;
    *out = present ? SysAllocStringLen(text.data(), static_cast<UINT>(text.size())) : nullptr;
    return present && !*out ? E_OUTOFMEMORY : S_OK;
}

} // namespace

STDMETHODIMP CFakeMedia::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
        !IsEqualIID(iid, __uuidof(IWMPMedia)))
        return E_NOINTERFACE;
    *object = static_cast<IWMPMedia*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFakeMedia::Release() {
    ULONG count = --m_cRef;
    if (count == 0)
        delete this;
    return count;
}

STDMETHODIMP CFakeMedia::getItemInfo(BSTR item, BSTR* value) {
    if (item && lstrcmpiW(item, L"Author") == 0)
        return CopyOut(m_state.hasAuthor, m_state.author, value);
    // Attributes the fake does not keep read as empty, as with a real player.
    return CopyOut(true, std::wstring(), value);
}

STDMETHODIMP CFakeMedia::get_name(BSTR* name) {
    return CopyOut(m_state.hasName, m_state.name, name);
}

STDMETHODIMP CFakeControls::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
        !IsEqualIID(iid, __uuidof(IWMPControls)))
        return E_NOINTERFACE;
    *object = static_cast<IWMPControls*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFakeControls::Release() {
    ULONG count = --m_cRef;
    if (count == 0)
        delete this;
    return count;
}

STDMETHODIMP CFakeControls::next() {
    AppendFakeLog("next");
    return S_OK;
}

STDMETHODIMP CFakeControls::previous() {
    AppendFakeLog("previous");
    return S_OK;
}
