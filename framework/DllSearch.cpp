#include "framework/DllSearch.h"
#include <windows.h>

bool RestrictDllSearchToSystem() {
    // Looked up, so the exe still starts on a system that lacks it.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto set = kernel ? reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
                                  ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                            : nullptr;
    return set && set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
