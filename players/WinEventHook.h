// CWinEventHook: owns one out-of-context WinEvent hook. The system calls
// back on the thread that set the hook, while that thread retrieves
// messages, so the handler runs on that thread and never inside the other
// process.
#pragma once
#include <windows.h>
#include <functional>

// What the system reports of one event.
struct WinEvent {
    DWORD event;
    HWND window;
    LONG objectId;
    LONG childId;
};

class CWinEventHook {
  public:
    using Handler = std::function<void(const WinEvent&)>;

    // Hooks `event` raised anywhere in process `processId`; check Installed().
    CWinEventHook(DWORD event, DWORD processId, Handler handler);
    ~CWinEventHook();
    CWinEventHook(const CWinEventHook&) = delete;
    CWinEventHook& operator=(const CWinEventHook&) = delete;

    bool Installed() const { return m_hHook != nullptr; }
    DWORD ProcessId() const { return m_dwProcessId; }

  private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG objectId,
                                 LONG childId, DWORD thread, DWORD time);

    HWINEVENTHOOK m_hHook = nullptr;
    DWORD m_dwProcessId;
    Handler m_handler;
};
