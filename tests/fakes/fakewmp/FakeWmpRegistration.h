// Test-side switch of the Wine prefix's media player control class between
// Wine's own control and the fake one (fakewmp.dll).
//
// The machine-wide HKLM\Software\Classes\CLSID\{...}\InprocServer32 is
// pointed at the fake, its original values kept beside it (see
// RegistryValueSwap.h). Every test process of the prefix takes a shared lock
// first, so a test that wants Wine's control never gets the fake from a test
// running at the same time.
#pragma once
#include "tests/fakes/RegistryValueSwap.h"

#include <string>

namespace fakewmp {

constexpr char kLockName[] = "TrackglowWmpClassLock";
constexpr char kServerKey[] =
    "Software\\Classes\\CLSID\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}\\InprocServer32";
// The control's in-process server and its threading model.
constexpr fakes::SwappedValue kServer{kServerKey, nullptr, "TrackglowSavedServer"};
constexpr fakes::SwappedValue kThreadingModel{kServerKey, "ThreadingModel", "TrackglowSavedModel"};

inline std::string FakeWmpDllPath() {
    return fakes::BesideThisProgram("fakewmp.dll");
}

} // namespace fakewmp

// While it lives, CoCreateInstance of the player control's CLSID gives the fake.
class CFakeWmpRegistration : public fakes::RegistryValueSwap {
  public:
    explicit CFakeWmpRegistration(const std::string& dllPath = fakewmp::FakeWmpDllPath())
        : RegistryValueSwap(fakewmp::kLockName, {{fakewmp::kServer, dllPath},
                                                 {fakewmp::kThreadingModel, "Apartment"}}) {}
};

// While it lives, the player control's CLSID is Wine's own control.
class CWineWmpRegistration {
  public:
    CWineWmpRegistration() : m_lock(fakewmp::kLockName) {
        if (m_lock.Owned()) {
            fakes::PutBack(fakewmp::kServer);
            fakes::PutBack(fakewmp::kThreadingModel);
        }
    }
    bool Active() const { return m_lock.Owned(); }

  private:
    fakes::PrefixLock m_lock;
};
