#include "framework/FrameWnd.h"

const char* AfxFrameWndClass() {
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

BOOL CFrameWnd::Create(const char* className, const char* windowName, DWORD style,
                       const RECT* rect, HWND parent, HMENU menu, DWORD exStyle) {
    if (!className)
        className = AfxFrameWndClass();
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    if (rect) {
        x = rect->left;
        y = rect->top;
        cx = rect->right - rect->left;
        cy = rect->bottom - rect->top;
    }
    return CreateEx(exStyle, className, windowName ? windowName : "", style, x, y, cx, cy, parent,
                    menu);
}
