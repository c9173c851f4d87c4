// What another process holds: its private memory, its working set and its
// GDI objects.
#pragma once

#include <windows.h>

#include <cstddef>

namespace bench {

struct MemorySample {
    size_t pagefileBytes = 0; // private memory; Wine reports no PrivateUsage
    size_t workingSetBytes = 0;
    int gdiObjects = -1; // -1 when the handle table cannot be read
};

// `process` needs query and read access (a handle from CreateProcess has it).
MemorySample SampleMemory(HANDLE process);

} // namespace bench
