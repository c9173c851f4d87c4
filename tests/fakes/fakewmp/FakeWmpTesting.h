// Helpers for Windows-level tests around the hosted media player control.
#pragma once
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"
#include <objbase.h>
#include <thread>

namespace fakewmp {

// Keeps fakewmp.dll loaded (COM unloads it when the last apartment goes) so
// its object count can be read after a host let go of everything.
class PinnedFake {
  public:
    PinnedFake() : m_module(LoadLibraryA(FakeWmpDllPath().c_str())) {}
    PinnedFake(const PinnedFake&) = delete;
    PinnedFake& operator=(const PinnedFake&) = delete;
    ~PinnedFake() {
        if (m_module)
            FreeLibrary(m_module);
    }
    bool Loaded() const { return m_module != nullptr; }
    // S_OK once no object of the fake is alive any more.
    HRESULT CanUnloadNow() const {
        using CanUnload = HRESULT(WINAPI*)();
        auto fn = m_module ? reinterpret_cast<CanUnload>(reinterpret_cast<void*>(
                                 GetProcAddress(m_module, "DllCanUnloadNow")))
                           : nullptr;
        return fn ? fn() : E_FAIL;
    }
    HMODULE Module() const { return m_module; }

  private:
    HMODULE m_module;
};

// Whether COM is initialised on the calling thread (in any apartment).
inline bool ComInitialisedHere() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr != S_OK;
}

// Runs `body` on a thread of its own, whose COM state starts clean.
template <class Body> void OnFreshThread(Body body) {
    std::thread thread(body);
    thread.join();
}

} // namespace fakewmp
