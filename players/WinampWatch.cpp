#include "players/WinampWatch.h"

void CWinampWatch::Follow(HWND winamp) {
    // The same window as before keeps its hook: the idle poll asks no more.
    if (winamp && winamp == m_hwndWinamp && m_hook)
        return;
    DWORD processId = 0;
    if (winamp)
        ::GetWindowThreadProcessId(winamp, &processId);
    m_hwndWinamp = processId ? winamp : nullptr;
    if (!m_hwndWinamp) {
        m_hook.reset();
        return;
    }
    if (m_hook && m_hook->ProcessId() == processId)
        return;
    m_hook.reset();
    m_hook.emplace(EVENT_OBJECT_NAMECHANGE, processId,
                   [this](const WinEvent& event) { OnNameChange(event); });
    // Should the system refuse the hook, the next look-up asks again.
    if (!m_hook->Installed())
        m_hook.reset();
}

void CWinampWatch::OnNameChange(const WinEvent& event) const {
    // The process names its other windows and objects too; only the main
    // window's own title is Winamp's track.
    if (event.event != EVENT_OBJECT_NAMECHANGE || event.window != m_hwndWinamp ||
        event.objectId != OBJID_WINDOW || event.childId != CHILDID_SELF)
        return;
    if (m_renamed)
        m_renamed();
}
