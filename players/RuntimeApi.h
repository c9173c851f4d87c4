// The Windows Runtime's few entry points we call, found in combase.dll at run
// time: linking them would stop the program from starting on Windows
// versions without them. Where the DLL or one of the functions is missing,
// Loaded() is false and nothing runtime-based is attempted.
#pragma once
#include <windows.h>

#include <hstring.h>
#include <string>

class CRuntimeApi {
  public:
    CRuntimeApi();
    ~CRuntimeApi();
    CRuntimeApi(const CRuntimeApi&) = delete;
    CRuntimeApi& operator=(const CRuntimeApi&) = delete;

    bool Loaded() const { return m_loaded; }

    // RoInitialize(RO_INIT_SINGLETHREADED); true when it must be balanced by
    // Uninitialize on this thread (it succeeded, also as "already so").
    bool Initialize() const;
    void Uninitialize() const;
    HRESULT GetActivationFactory(const wchar_t* className, REFIID iid, void** factory) const;
    // The string's text in the code page in force (empty for a null string).
    std::string ToAnsi(HSTRING text) const;
    std::wstring ToWide(HSTRING text) const;
    void Delete(HSTRING text) const;

  private:
    using RoInitializeFn = HRESULT(WINAPI*)(int);
    using RoUninitializeFn = void(WINAPI*)();
    using RoGetActivationFactoryFn = HRESULT(WINAPI*)(HSTRING, REFIID, void**);
    using WindowsCreateStringFn = HRESULT(WINAPI*)(LPCWSTR, UINT32, HSTRING*);
    using WindowsDeleteStringFn = HRESULT(WINAPI*)(HSTRING);
    using WindowsGetStringRawBufferFn = PCWSTR(WINAPI*)(HSTRING, UINT32*);

    HMODULE m_module = nullptr;
    bool m_loaded = false;
    RoInitializeFn m_roInitialize = nullptr;
    RoUninitializeFn m_roUninitialize = nullptr;
    RoGetActivationFactoryFn m_roGetActivationFactory = nullptr;
    WindowsCreateStringFn m_createString = nullptr;
    WindowsDeleteStringFn m_deleteString = nullptr;
    WindowsGetStringRawBufferFn m_rawBuffer = nullptr;
};

// An HSTRING received from the runtime, deleted when it goes.
class CHString {
  public:
    explicit CHString(const CRuntimeApi& api) : m_api(api) {}
    ~CHString() { m_api.Delete(m_text); }
    CHString(const CHString&) = delete;
    CHString& operator=(const CHString&) = delete;

    // For an out parameter: lets go of the text held so far.
    HSTRING* Receive() {
        m_api.Delete(m_text);
        m_text = nullptr;
        return &m_text;
    }
    std::string Ansi() const { return m_api.ToAnsi(m_text); }
    std::wstring Wide() const { return m_api.ToWide(m_text); }

  private:
    const CRuntimeApi& m_api;
    HSTRING m_text = nullptr;
};
