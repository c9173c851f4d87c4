#include "players/RuntimeApi.h"
#include "framework/CodePage.h"

namespace {
template <class Fn> Fn Find(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                  : nullptr;
}
constexpr int kRoInitSingleThreaded = 0;
} // namespace

CRuntimeApi::CRuntimeApi()
    // From the system folder only, never from beside the program.
    : m_module(::LoadLibraryExW(L"combase.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    m_roInitialize = Find<RoInitializeFn>(m_module, "RoInitialize");
    m_roUninitialize = Find<RoUninitializeFn>(m_module, "RoUninitialize");
    m_roGetActivationFactory = Find<RoGetActivationFactoryFn>(m_module, "RoGetActivationFactory");
    m_createString = Find<WindowsCreateStringFn>(m_module, "WindowsCreateString");
    m_deleteString = Find<WindowsDeleteStringFn>(m_module, "WindowsDeleteString");
    m_rawBuffer = Find<WindowsGetStringRawBufferFn>(m_module, "WindowsGetStringRawBuffer");
    m_loaded = m_roInitialize && m_roUninitialize && m_roGetActivationFactory && m_createString &&
               m_deleteString && m_rawBuffer;
}

CRuntimeApi::~CRuntimeApi() {
    if (m_module)
        ::FreeLibrary(m_module);
}

bool CRuntimeApi::Initialize() const {
    return m_loaded && SUCCEEDED(m_roInitialize(kRoInitSingleThreaded));
}

void CRuntimeApi::Uninitialize() const {
    if (m_loaded)
        m_roUninitialize();
}

HRESULT CRuntimeApi::GetActivationFactory(const wchar_t* className, REFIID iid,
                                          void** factory) const {
    *factory = nullptr;
    if (!m_loaded)
        return E_NOTIMPL;
    HSTRING name = nullptr;
    HRESULT hr = m_createString(className, static_cast<UINT32>(wcslen(className)), &name);
    if (FAILED(hr))
        return hr;
    hr = m_roGetActivationFactory(name, iid, factory);
    m_deleteString(name);
    return hr;
}

std::wstring CRuntimeApi::ToWide(HSTRING text) const {
    if (!m_loaded || !text)
        return std::wstring();
    UINT32 length = 0;
    const wchar_t* buffer = m_rawBuffer(text, &length);
    return buffer ? std::wstring(buffer, length) : std::wstring();
}

std::string CRuntimeApi::ToAnsi(HSTRING text) const {
    const std::wstring wide = ToWide(text);
    return WideToAnsi(wide.c_str(), static_cast<int>(wide.size()));
}

void CRuntimeApi::Delete(HSTRING text) const {
    if (m_loaded && text)
        m_deleteString(text);
}
