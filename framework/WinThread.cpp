#include "framework/WinThread.h"
#include <memory>

namespace {

DWORD WINAPI ThreadEntry(void* parameter) {
    std::unique_ptr<std::function<void()>> routine(static_cast<std::function<void()>*>(parameter));
    (*routine)();
    return 0;
}

} // namespace

CWinThread::~CWinThread() {
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(std::function<void()> routine) {
    auto* heapRoutine = new std::function<void()>(std::move(routine));
    m_hThread = ::CreateThread(nullptr, 0, ThreadEntry, heapRoutine, 0, &m_nThreadID);
    if (!m_hThread) {
        delete heapRoutine;
        return FALSE;
    }
    return TRUE;
}

BOOL CWinThread::Wait(DWORD milliseconds) const {
    return !m_hThread || ::WaitForSingleObject(m_hThread, milliseconds) == WAIT_OBJECT_0;
}

bool AfxBeginThread(std::function<void()> routine) {
    CWinThread thread;
    return thread.CreateThread(std::move(routine)) != FALSE;
}
