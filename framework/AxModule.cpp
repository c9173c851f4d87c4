#include "framework/AxModule.h"
#include "framework/AxHost.h"

bool CComModuleLite::Init(HINSTANCE instance, const GUID* libid) {
    if (!instance)
        return false;
    m_hInstance = instance;
    m_libid = libid ? *libid : GUID{};
    return AtlAxWinInit();
}

void CComModuleLite::Term() {
    if (!m_hInstance)
        return;
    m_hInstance = nullptr;
    AtlAxWinTerm();
}
