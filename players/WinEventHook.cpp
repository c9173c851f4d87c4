#include "players/WinEventHook.h"
#include <map>

namespace {
// The hooks this thread set, by handle: the callback names only the handle.
// Events already queued when a hook goes find no entry and are dropped.
std::map<HWINEVENTHOOK, CWinEventHook::Handler*>& HooksOfThisThread() {
    thread_local std::map<HWINEVENTHOOK, CWinEventHook::Handler*> hooks;
    return hooks;
}
} // namespace

CWinEventHook::CWinEventHook(DWORD event, DWORD processId, Handler handler)
    : m_dwProcessId(processId), m_handler(std::move(handler)) {
    // A process filter alone: Wine delivers nothing to a hook that also
    // filters by thread or skips its own process.
    m_hHook = ::SetWinEventHook(event, event, nullptr, &CWinEventHook::OnEvent, processId, 0,
                                WINEVENT_OUTOFCONTEXT);
    if (m_hHook)
        HooksOfThisThread()[m_hHook] = &m_handler;
}

CWinEventHook::~CWinEventHook() {
    if (!m_hHook)
        return;
    HooksOfThisThread().erase(m_hHook);
    ::UnhookWinEvent(m_hHook);
}

void CALLBACK CWinEventHook::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG objectId,
                                     LONG childId, DWORD, DWORD) {
    auto& hooks = HooksOfThisThread();
    const auto found = hooks.find(hook);
    if (found == hooks.end() || !*found->second)
        return;
    // A copy: the handler may end the hook that called it.
    const Handler handler = *found->second;
    handler(WinEvent{event, window, objectId, childId});
}
