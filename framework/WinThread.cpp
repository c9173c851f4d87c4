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
    auto heapRoutine = std::make_unique<std::function<void()>>(std::move(routine));
    m_hThread = ::CreateThread(nullptr, 0, ThreadEntry, heapRoutine.get(), 0, nullptr);
    if (!m_hThread)
        return FALSE;
    heapRoutine.release(); // the thread owns it now
    return TRUE;
}

bool AfxBeginThread(std::function<void()> routine) {
    CWinThread thread;
    return thread.CreateThread(std::move(routine)) != FALSE;
}

void HandleSentMessages(DWORD waitMs) {
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_SENDMESSAGE);
}
