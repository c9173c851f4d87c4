// The program's entry point: hands over to the application object.
#include "framework/DllSearch.h"
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL by name.
    RestrictDllSearchToSystem();
    return AfxWinMain(instance);
}
