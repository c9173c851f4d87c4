#include "support/Wait.h"

namespace e2e {

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitForObject(HANDLE object, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    const DWORD count = object ? 1 : 0;
    for (;;) {
        PumpMessages();
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return object && WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
        }
        // Messages sent to the driver's windows are dispatched inside this
        // wait; posted ones wake it up and are dispatched above.
        const DWORD result = MsgWaitForMultipleObjects(count, object ? &object : nullptr, FALSE,
                                                       static_cast<DWORD>(end - now), QS_ALLINPUT);
        if (object && result == WAIT_OBJECT_0) {
            return true;
        }
        if (result == WAIT_FAILED) {
            return false;
        }
    }
}

void HandleWaitingMessages() {
    MSG msg;
    // Retrieving anything handles the queued sent messages and WinEvents.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    static const UINT marker = RegisterWindowMessageA("TrackglowTestBarrier");
    PostThreadMessageA(GetCurrentThreadId(), marker, 0, 0);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == marker)
            return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpFor(DWORD ms) {
    WaitForObject(nullptr, ms);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return done();
        }
        PumpFor(stepMs);
    }
}

} // namespace e2e
