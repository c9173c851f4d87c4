#include "framework/Gdi.h"
#include "framework/CodePage.h"

template <class Handle> void CGdiObject<Handle>::Attach(Handle handle) {
    DeleteObject();
    m_hObject = handle;
}

template <class Handle> BOOL CGdiObject<Handle>::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

template class CGdiObject<HBRUSH>;
template class CGdiObject<HBITMAP>;
template class CGdiObject<HFONT>;

BOOL CBrush::CreateSolidBrush(COLORREF colour) {
    Attach(::CreateSolidBrush(colour));
    return Get() != nullptr;
}

BOOL CBitmap::LoadFromFile(const char* path) {
    Attach(static_cast<HBITMAP>(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    return Get() != nullptr;
}

BOOL CFont::CreateFontIndirect(const LOGFONTW& font) {
    Attach(::CreateFontIndirectW(&font));
    return Get() != nullptr;
}

CSelectObject::CSelectObject(HDC dc, HGDIOBJ object) : m_hDC(dc) {
    if (dc && object)
        m_previous = ::SelectObject(dc, object);
}

CSelectObject::~CSelectObject() {
    if (m_previous && m_previous != HGDI_ERROR)
        ::SelectObject(m_hDC, m_previous);
}

int DrawAnsiText(HDC dc, const std::string& text, RECT* rect, UINT format) {
    const std::wstring wide = AnsiToWide(text);
    return ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), rect, format);
}

CPaintDC::CPaintDC(HWND window) : m_hWnd(window), m_hDC(::BeginPaint(window, &m_ps)) {}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
}

CMemoryDC::CMemoryDC() : m_hDC(::CreateCompatibleDC(nullptr)) {}

CMemoryDC::~CMemoryDC() {
    if (!m_hDC)
        return;
    if (m_hOriginal)
        ::SelectObject(m_hDC, m_hOriginal);
    ::DeleteDC(m_hDC);
}

void CMemoryDC::SelectBitmap(HBITMAP bitmap) {
    if (!bitmap || !m_hDC)
        return;
    HGDIOBJ previous = ::SelectObject(m_hDC, bitmap);
    if (!m_hOriginal)
        m_hOriginal = previous;
}
