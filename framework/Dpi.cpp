#include "framework/Dpi.h"
#include "core/DpiScale.h"

namespace {

// Looked up once: GetDpiForSystem and GetDpiForWindow exist from Windows 10
// (1607) on, GetDpiForMonitor (shcore.dll) from Windows 8.1 on.
using DpiForSystem = UINT(WINAPI*)();
using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

template <class Function> Function Lookup(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
               : nullptr;
}

HMODULE User32() {
    return ::GetModuleHandleA("user32.dll");
}

HMODULE Shcore() {
    // From the system folder only; it stays loaded for the program's life.
    static const HMODULE shcore =
        ::LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore;
}

int MonitorDpi(HMONITOR monitor) {
    static const auto forMonitor = Lookup<DpiForMonitor>(Shcore(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)))
        return UsableDpi(static_cast<int>(x));
    return SystemDpi();
}

} // namespace

int SystemDpi() {
    static const auto forSystem = Lookup<DpiForSystem>(User32(), "GetDpiForSystem");
    if (forSystem)
        return UsableDpi(static_cast<int>(forSystem()));
    const CWindowDC screen(nullptr);
    return UsableDpi(screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi);
}

int MonitorDpiAt(POINT point) {
    return MonitorDpi(::MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY));
}

int WindowDpi(HWND window) {
    static const auto forWindow = Lookup<DpiForWindow>(User32(), "GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window))
            return UsableDpi(static_cast<int>(dpi));
    }
    return MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

CDpiFont::CDpiFont(HDC dc, int dpi) : m_hDC(dc) {
    const int system = SystemDpi();
    dpi = UsableDpi(dpi);
    if (!dc || dpi == system)
        return;
    // The wide form: a narrow one holds a face name of 31 bytes at most,
    // less than a CJK name takes in UTF-8.
    LOGFONTW font{};
    if (!::GetObjectW(::GetCurrentObject(dc, OBJ_FONT), sizeof font, &font))
        return;
    font.lfHeight = ::MulDiv(font.lfHeight, dpi, system);
    font.lfWidth = ::MulDiv(font.lfWidth, dpi, system);
    m_font.Attach(::CreateFontIndirectW(&font));
    if (m_font)
        m_previous = ::SelectObject(dc, m_font);
}

CDpiFont::~CDpiFont() {
    // The font is deselected before its owner deletes it.
    if (m_previous)
        ::SelectObject(m_hDC, m_previous);
}
