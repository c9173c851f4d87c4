// CWnd: a C++ object standing for one window, with message dispatch through
// the per-class message tables.
#pragma once
#include "framework/MessageMap.h"

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    // Creates a window of a class registered with AfxRegisterWndClass (or any
    // class whose procedure is AfxWndProc). The window is destroyed with the object.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu);
    BOOL DestroyWindow();

    // Binds an existing window (a dialog's control) without owning it.
    void Attach(HWND hwnd);

    // Thin wrappers used throughout the program.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) const;
    BOOL KillTimer(UINT_PTR id) const;
    void ScreenToClient(POINT* point) const;
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const;
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) const;
    // Centres the window in `area` (screen coordinates); without one, over
    // its owner or in the work area, kept inside that work area.
    void CenterWindow(const RECT* area = nullptr);

    virtual const MessageMap* GetMessageMap() const;
    static const MessageMap* GetThisMessageMap();

  protected:
    // The owner a window constructed without a parent gets: the application's
    // main window, or the pop-up of it that is active (such as an open dialog).
    static HWND GetSafeOwner(HWND parent);
    static CWnd* FromHandlePermanent(HWND hwnd);
    // Looks the message up in the message tables; true when a handler ran.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Associates the object with its window (used while the window is created).
    void AttachPermanent(HWND hwnd);
    void DetachPermanent();

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

  private:
    bool m_bOwnsWindow = false;
};

// The window procedure of every framework window class.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class without an icon, routed to the framework,
// and returns its name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                HBRUSH background = nullptr);
