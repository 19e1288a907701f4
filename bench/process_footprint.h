#pragma once
// What another process holds, as a leak would grow it: committed private bytes, committed
// regions (a remote block left behind is one more) and handles.
#include <windows.h>

#include <algorithm>

#include "tests/support/editors.h"  // and vectors

// Wine answers GetProcessHandleCount with 0, so handles are counted in the system's handle
// table (NtQuerySystemInformation, class 16), which Wine keeps for every process.
inline DWORD handleCount(DWORD processId) {
    struct Entry {
        ULONG owner;
        UCHAR type, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query =
        reinterpret_cast<Query>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    std::vector<char> table(1 << 20);
    for (ULONG needed = 0; query(16, table.data(), static_cast<ULONG>(table.size()), &needed) == LONG(0xC0000004);)
        table.resize(table.size() * 2);
    const auto* entry = reinterpret_cast<const Entry*>(table.data() + sizeof(void*));
    return static_cast<DWORD>(std::count_if(entry, entry + *reinterpret_cast<const ULONG*>(table.data()),
                                            [&](const Entry& e) { return e.owner == processId; }));
}

struct Footprint {
    unsigned long long privateBytes = 0;
    unsigned long regions = 0;
    DWORD handles = 0;
};

// Summed from the regions: the process counters are not filled in for other processes everywhere.
inline Footprint footprintOf(HANDLE process) {
    Footprint f{0, 0, handleCount(::GetProcessId(process))};
    for (const MEMORY_BASIC_INFORMATION& r : regionsInUse(process)) {
        f.regions += r.State == MEM_COMMIT;
        f.privateBytes += r.State == MEM_COMMIT && r.Type == MEM_PRIVATE ? r.RegionSize : 0;
    }
    return f;
}
