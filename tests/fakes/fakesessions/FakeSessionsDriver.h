// Test side of the fake media-session manager: while a CFakeSessions lives,
// the prefix's runtime class GlobalSystemMediaTransportControlsSessionManager
// is the fake (its DllPath swapped in, the original kept, under a lock every
// test process of the prefix takes), and the test drives the fake through the
// state of the same DLL. Registered only while a test needs it, so every other
// test and program of the prefix finds the class missing, as under Wine.
#pragma once
#include "tests/fakes/RegistryValueSwap.h"
#include "tests/fakes/fakesessions/FakeSessionsApi.h"

namespace fakesessions {
constexpr char kLockName[] = "TrackglowMediaSessionsClassLock";
constexpr fakes::SwappedValue kDllPath{
    "Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    "Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager",
    "DllPath", "TrackglowSavedDllPath"};
} // namespace fakesessions

class CFakeSessions : public fakes::RegistryValueSwap {
  public:
    CFakeSessions()
        : RegistryValueSwap(
              fakesessions::kLockName,
              {{fakesessions::kDllPath, fakes::BesideThisProgram("fakesessions.dll")}}),
          m_module(LoadLibraryA(fakes::BesideThisProgram("fakesessions.dll").c_str())) {
        const auto state = Find<FakeSessionsStateFn>("FakeSessions_State");
        m_raise = Find<FakeSessionsRaiseFn>("FakeSessions_Raise");
        m_state = state ? state() : nullptr;
        if (m_state)
            Reset(false);
    }
    ~CFakeSessions() { FreeLibrary(m_module); }
    bool Ready() const { return Active() && m_state && m_raise; }
    FakeSessionsState& State() const { return *m_state; }

    // No session left; operations complete at once or later.
    void Reset(bool completeAtOnce) {
        for (int i = 0; i < m_state->count; ++i)
            m_state->sessions[i].removed = true;
        m_state->current = -1;
        m_state->completeAtOnce = completeAtOnce;
        m_state->callsAfterRelease = m_state->propertyRequests = 0;
        m_state->raisesAsked = m_state->raisesDone;
    }
    int Add(const wchar_t* appId) {
        FakeSession& session = m_state->sessions[m_state->count];
        session = FakeSession{};
        lstrcpynW(session.appId, appId, 64);
        return m_state->count++;
    }
    void Set(int number, const wchar_t* artist, const wchar_t* title, int status) {
        FakeSession& session = m_state->sessions[number];
        lstrcpynW(session.artist, artist, 64);
        lstrcpynW(session.title, title, 64);
        session.status = status;
    }
    void Raise(int session, int event) const { m_raise(session, event); }
    // Raises the event in the program that activated the fake; false when
    // it was not done within `timeoutMs` (the program has gone, say).
    bool RaiseInProgram(int session, int event, DWORD timeoutMs = 10000) const {
        const LONG asked = m_state->raisesDone + 1;
        m_state->raiseSession = session;
        m_state->raiseEvent = event;
        InterlockedExchange(&m_state->raisesAsked, asked);
        HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, kFakeSessionsRaiseEvent);
        SetEvent(wake);
        CloseHandle(wake);
        for (const ULONGLONG end = GetTickCount64() + timeoutMs; GetTickCount64() < end; Sleep(1)) {
            if (m_state->raisesDone >= asked)
                return true;
        }
        return false;
    }

  private:
    template <class Fn> Fn Find(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }
    HMODULE m_module;
    FakeSessionsState* m_state = nullptr;
    FakeSessionsRaiseFn m_raise = nullptr;
};
