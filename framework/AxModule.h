// CComModuleLite: the program's control-hosting module. Start-up initialises
// it with the program's instance and the hosting type library; it gives the
// hosting window class back when the program ends.
#pragma once
#include <windows.h>

// The type library of the platform's control-hosting library, which start-up
// hands to the module.
constexpr GUID kAxHostTypeLibId = {
    0x44EC0535, 0x400F, 0x11D0, {0x9D, 0xCD, 0x00, 0xA0, 0xC9, 0x03, 0x91, 0xD3}};

class CComModuleLite {
  public:
    CComModuleLite() = default;
    CComModuleLite(const CComModuleLite&) = delete;
    CComModuleLite& operator=(const CComModuleLite&) = delete;
    ~CComModuleLite() { Term(); }

    // Remembers the instance and the type-library identifier and makes sure
    // the hosting window class exists. False without an instance or when the
    // class cannot be registered.
    bool Init(HINSTANCE instance, const GUID* libid);
    // Unregisters the hosting window class; called again by the destructor.
    void Term();

  private:
    HINSTANCE m_hInstance = nullptr;
    GUID m_libid{};
};
