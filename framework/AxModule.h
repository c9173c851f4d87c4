// CComModuleLite: the program's control-hosting module. Start-up initialises
// it with the program's instance and the hosting type library; it gives the
// hosting window classes back when the program ends.
#pragma once
#include <windows.h>

class CComModuleLite {
  public:
    CComModuleLite() = default;
    CComModuleLite(const CComModuleLite&) = delete;
    CComModuleLite& operator=(const CComModuleLite&) = delete;
    ~CComModuleLite() { Term(); }

    // Remembers the instance and the type-library identifier and makes sure
    // the hosting window classes exist. False without an instance or when the
    // classes cannot be registered.
    bool Init(HINSTANCE instance, const GUID* libid);
    // Unregisters the hosting window classes; called again by the destructor.
    void Term();

    bool IsInitialised() const { return m_hInstance != nullptr; }
    HINSTANCE GetModuleInstance() const { return m_hInstance; }
    const GUID& GetTypeLibId() const { return m_libid; }

  private:
    HINSTANCE m_hInstance = nullptr;
    GUID m_libid{};
};
