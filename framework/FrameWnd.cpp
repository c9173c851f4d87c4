#include "framework/FrameWnd.h"

BOOL CFrameWnd::Create(const char* className, const char* windowName, DWORD style) {
    if (!className)
        className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return CreateEx(0, className, windowName ? windowName : "", style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr);
}
