// CWinThread: a worker thread running a routine; owns its thread handle.
#pragma once
#include <windows.h>
#include <functional>

class CWinThread {
  public:
    CWinThread() = default;
    ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts `routine` at once, at normal priority; FALSE when no thread can
    // be created. Nobody has to wait for the thread: it ends with the routine.
    BOOL CreateThread(std::function<void()> routine);

  private:
    HANDLE m_hThread = nullptr;
};

// Starts a detached worker thread running `routine`; false when that fails.
bool AfxBeginThread(std::function<void()> routine);

// Carries out what other threads sent to this one (a window move a worker
// waits for), waiting up to `waitMs` for some; posted messages stay queued.
void HandleSentMessages(DWORD waitMs);
