#include "framework/Gdi.h"
#include <atomic>

namespace {
std::atomic<long> g_liveObjects{0};
}

long AfxLiveGdiObjects() {
    return g_liveObjects.load();
}

template <class Handle> void CGdiObject<Handle>::Attach(Handle handle) {
    DeleteObject();
    m_hObject = handle;
    if (m_hObject)
        ++g_liveObjects;
}

template <class Handle> BOOL CGdiObject<Handle>::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    BOOL deleted = ::DeleteObject(m_hObject);
    --g_liveObjects;
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
