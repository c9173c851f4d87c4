// Test side of the fake media-session manager: while a CFakeSessions lives,
// the prefix's runtime class GlobalSystemMediaTransportControlsSessionManager
// is the fake (its DllPath swapped in, the original kept, under a lock every
// test process of the prefix takes), and the test drives the fake through the
// functions of the same DLL. Registered only while a test needs it, so every
// other test and program of the prefix finds the class missing, as under Wine.
#pragma once
#include "tests/fakes/RegistryValueSwap.h"
#include "tests/fakes/fakesessions/FakeSessionsApi.h"

namespace fakesessions {

constexpr char kLockName[] = "TrackglowMediaSessionsClassLock";
constexpr fakes::SwappedValue kDllPath{
    "Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    "Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager",
    "DllPath", "TrackglowSavedDllPath"};

template <class Fn> Fn Find(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace fakesessions

class CFakeSessions : public fakes::RegistryValueSwap {
  public:
    CFakeSessions()
        : RegistryValueSwap(
              fakesessions::kLockName,
              {{fakesessions::kDllPath, fakes::BesideThisProgram("fakesessions.dll")}}),
          m_module(LoadLibraryA(fakes::BesideThisProgram("fakesessions.dll").c_str())) {
        using namespace fakesessions;
        Reset = Find<FakeSessionsResetFn>(m_module, "FakeSessions_Reset");
        Add = Find<FakeSessionsAddFn>(m_module, "FakeSessions_Add");
        Set = Find<FakeSessionsSetFn>(m_module, "FakeSessions_Set");
        Remove = Find<FakeSessionsRemoveFn>(m_module, "FakeSessions_Remove");
        SetCurrent = Find<FakeSessionsSetCurrentFn>(m_module, "FakeSessions_SetCurrent");
        Raise = Find<FakeSessionsRaiseFn>(m_module, "FakeSessions_Raise");
        Count = Find<FakeSessionsCountFn>(m_module, "FakeSessions_Count");
        if (Ready())
            Reset(FALSE);
    }
    ~CFakeSessions() {
        if (m_module)
            FreeLibrary(m_module);
    }
    bool Ready() const { return Active() && Reset && Count; }

    FakeSessionsResetFn Reset = nullptr;
    FakeSessionsAddFn Add = nullptr;
    FakeSessionsSetFn Set = nullptr;
    FakeSessionsRemoveFn Remove = nullptr;
    FakeSessionsSetCurrentFn SetCurrent = nullptr;
    FakeSessionsRaiseFn Raise = nullptr;
    FakeSessionsCountFn Count = nullptr;

  private:
    HMODULE m_module;
};
