#include "ProcessMemory.h"

#include <psapi.h>

#include <cstdint>
#include <vector>

namespace bench {
namespace {

// The platform's GDI counters are stubs under Wine, so the objects are
// counted in the process's GDI handle table, which hangs from its PEB: an
// entry is in use while its type byte is non-zero.
struct GdiTableEntry {
    uint64_t object;
    uint16_t processId;
    uint16_t count;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiTableEntry) == 24, "GDI handle table entry");
constexpr size_t kPebGdiTable = 0xF8; // 64-bit PEB
constexpr size_t kGdiTableEntries = 0x10000;

struct BasicInformation {
    void* exitStatus;
    void* pebBaseAddress;
    void* affinityMask;
    void* basePriority;
    ULONG_PTR processId;
    void* parentProcessId;
};

int CountGdiObjects(HANDLE process) {
    using QueryInformation = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    BasicInformation basic = {};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0)
        return -1;
    uint64_t table = 0;
    const auto* tablePointer = static_cast<const uint8_t*>(basic.pebBaseAddress) + kPebGdiTable;
    if (!ReadProcessMemory(process, tablePointer, &table, sizeof table, nullptr) || table == 0)
        return -1;
    std::vector<GdiTableEntry> entries(kGdiTableEntries);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(GdiTableEntry), nullptr))
        return -1;
    const uint16_t owner = static_cast<uint16_t>(basic.processId);
    int count = 0;
    for (const GdiTableEntry& entry : entries) {
        if (entry.type != 0 && (entry.processId == 0 || entry.processId == owner))
            ++count;
    }
    return count;
}

} // namespace

MemorySample SampleMemory(HANDLE process) {
    MemorySample sample;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        sample.pagefileBytes = counters.PagefileUsage;
        sample.workingSetBytes = counters.WorkingSetSize;
    }
    sample.gdiObjects = CountGdiObjects(process);
    return sample;
}

} // namespace bench
