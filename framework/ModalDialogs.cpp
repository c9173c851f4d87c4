#include "framework/ModalDialogs.h"
#include <cstring>
#include <utility>

INT_PTR CModalDialogs::Run(CDialog& dialog) {
    ++m_open;
    const INT_PTR result = dialog.DoModal();
    --m_open;
    if (!m_then)
        return result;
    if (m_open == 0)
        std::exchange(m_then, nullptr)();
    return IDCANCEL;
}

void CModalDialogs::CloseAll(HWND keep, std::function<void()> then) {
    m_then = std::move(then);
    // One opened from another (About from Preferences) included: each ends
    // its own loop, innermost first.
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM keepWindow) -> BOOL {
            char className[8] = {};
            ::GetClassNameA(window, className, sizeof className);
            if (window != reinterpret_cast<HWND>(keepWindow) && ::IsWindowVisible(window) &&
                std::strcmp(className, "#32770") == 0)
                ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(keep));
}
