// The screen's DPI in the test prefix: HKCU\Control Panel\Desktop LogPixels,
// which Wine reads for every program started after it changed (the system
// font grows with it, and the DPI functions report it).
//
// The original value is kept beside it while a test runs another DPI, so a
// test that was killed leaves it for the next one to put back: the next
// ScreenDpiSwap, or PutBackScreenDpi, which CTest runs after the tests that
// swap it (the e2e.screen_dpi_restore fixture).
#pragma once

#include "tests/fakes/RegistryValueSwap.h"

#include <windows.h>

namespace e2e {

class ScreenDpiSwap {
  public:
    // Programs started from now on see `dpi`.
    explicit ScreenDpiSwap(DWORD dpi);
    // The original value is back.
    ~ScreenDpiSwap();
    ScreenDpiSwap(const ScreenDpiSwap&) = delete;
    ScreenDpiSwap& operator=(const ScreenDpiSwap&) = delete;

    // Whether the value holds the swapped DPI.
    bool Active() const { return m_bActive; }

  private:
    fakes::PrefixLock m_lock;
    bool m_bActive = false;
};

// Puts back the original DPI a swap left behind (does nothing otherwise);
// true when the original is in place afterwards.
bool PutBackScreenDpi();

} // namespace e2e
