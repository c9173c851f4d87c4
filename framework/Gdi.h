// Owning wrappers of GDI objects and device contexts. Every GDI object the
// program makes goes through CGdiObject.
#pragma once
#include "core/Rect.h"
#include <windows.h>
#include <string>

// The portable rectangle and the platform's, one into the other.
inline RECT ToRECT(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}
// The same moved by `origin` (a rectangle of a pop-up drawn there).
inline RECT ToRECT(const Rect& rect, POINT origin) {
    return RECT{origin.x + rect.left, origin.y + rect.top, origin.x + rect.right,
                origin.y + rect.bottom};
}
inline Rect ToRect(const RECT& rect) {
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

template <class Handle> class CGdiObject {
  public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Takes ownership of `handle`, deleting what was held before.
    void Attach(Handle handle);
    // Deletes the held object, if any; afterwards the wrapper is empty.
    BOOL DeleteObject();
    Handle Get() const { return m_hObject; }
    operator Handle() const { return m_hObject; }
    explicit operator bool() const { return m_hObject != nullptr; }

  private:
    Handle m_hObject = nullptr;
};

class CBrush : public CGdiObject<HBRUSH> {
  public:
    BOOL CreateSolidBrush(COLORREF colour);
};

class CBitmap : public CGdiObject<HBITMAP> {
  public:
    // Loads a bitmap file as a device-dependent bitmap (LoadImageA with
    // LR_LOADFROMFILE only); FALSE and empty when it does not load.
    BOOL LoadFromFile(const char* path);
};

class CFont : public CGdiObject<HFONT> {
  public:
    CFont() = default;
    BOOL CreateFontIndirect(const LOGFONTW& font);
};

// Selects a GDI object into a device context for a scope and puts back the
// one it replaced. A null object selects nothing.
class CSelectObject {
  public:
    CSelectObject(HDC dc, HGDIOBJ object);
    ~CSelectObject();
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

  private:
    HDC m_hDC;
    HGDIOBJ m_previous = nullptr;
};

// DrawText of text in the code page in force. DrawTextA would read the text
// in the code page of the selected font's character set, which for the
// system font is the legacy one even where the process speaks UTF-8.
int DrawAnsiText(HDC dc, const std::string& text, RECT* rect, UINT format);

// BeginPaint/EndPaint for one WM_PAINT.
class CPaintDC {
  public:
    explicit CPaintDC(HWND window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_hDC; }

  private:
    PAINTSTRUCT m_ps{};
    HWND m_hWnd;
    HDC m_hDC;
};

// GetDC/ReleaseDC for a scope: the device context of a window's client area,
// or of the screen for a null window. Null when none could be had.
class CWindowDC {
  public:
    explicit CWindowDC(HWND window) : m_hWnd(window), m_hDC(::GetDC(window)) {}
    ~CWindowDC() {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    operator HDC() const { return m_hDC; }

  private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A memory device context; puts back the bitmap it started with before it is
// deleted, so the bitmaps selected into it can be deleted by their owners.
class CMemoryDC {
  public:
    // Compatible with the screen.
    CMemoryDC();
    ~CMemoryDC();
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_hDC; }
    // Selects `bitmap`; a null bitmap cannot be selected and leaves the
    // previous selection in place.
    void SelectBitmap(HBITMAP bitmap);

  private:
    HDC m_hDC;
    HGDIOBJ m_hOriginal = nullptr;
};
