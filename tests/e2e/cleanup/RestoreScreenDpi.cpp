// Run by CTest after the tests that change the screen's DPI, also when one of
// them failed or was killed: puts the prefix's original DPI back, so the
// tests that follow see the screen they expect.
#include "support/ScreenDpi.h"

int main() {
    return e2e::PutBackScreenDpi() ? 0 : 1;
}
