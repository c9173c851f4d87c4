// The GDI objects of a process, read from its GDI handle table: the
// platform's own counters are stubs under Wine. Header only, so that the
// Windows-level tests, the end-to-end driver and the benchmark share it.
//
// The 64-bit PEB's GdiSharedHandleTable (offset 0xF8) points to 65536
// entries of 24 bytes, in use while their type byte is non-zero. Wine keeps
// one table per process and leaves the owner 0; Windows shares one per
// session and names the owner.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace gditable {

struct Entry {
    std::uint64_t object;
    std::uint16_t ownerId;
    std::uint16_t count;
    std::uint8_t extType; // the full type's high byte; bit 7 marks stock objects
    std::uint8_t generation;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(Entry) == 24, "GDI handle table entry");

// The entries in use that belong to the process (a handle with the rights to
// query it and read its memory, or GetCurrentProcess()); nothing when the
// table cannot be read.
inline std::optional<std::vector<Entry>> ReadGdiObjects(HANDLE process) {
#if defined(_WIN64)
    constexpr std::size_t kPebGdiTable = 0xF8;
    constexpr std::size_t kEntries = 0x10000;
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return std::nullopt;
    }
    const auto* peb = static_cast<const std::uint8_t*>(static_cast<void*>(basic.PebBaseAddress));
    std::uint64_t table = 0;
    if (!ReadProcessMemory(process, peb + kPebGdiTable, &table, sizeof table, nullptr) ||
        table == 0) {
        return std::nullopt;
    }
    std::vector<Entry> entries(kEntries);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(Entry), nullptr)) {
        return std::nullopt;
    }
    const std::uint16_t owner = static_cast<std::uint16_t>(GetProcessId(process));
    std::vector<Entry> owned;
    for (const Entry& entry : entries) {
        if (entry.type != 0 && (entry.ownerId == 0 || entry.ownerId == owner)) {
            owned.push_back(entry);
        }
    }
    return owned;
#else
    (void)process;
    return std::nullopt; // the table's place is known for 64-bit processes only
#endif
}

} // namespace gditable
