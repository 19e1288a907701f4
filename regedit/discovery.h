#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <string>
#include <vector>

namespace hivescout {

// The running processes of the executable name (folded case), in the system's order.
std::vector<PROCESSENTRY32W> processesNamed(const std::wstring& executableName);

// Scans the running processes for the executable name and returns the first editor that
// can be opened, has an accepted bitness and whose lock does not exist; when none is
// eligible, the last one found; 0xFFFFFFFF when none runs.
std::uint32_t findEligibleRegedit(const std::wstring& executableName, bool use32BitRegedit, bool use64BitRegedit);

// True for a 32-bit process on 64-bit Windows; false also when the question fails.
bool isProcess32Bit(HANDLE process);

// The bitness filter of the scan.
bool bitnessAccepted(bool processIs32Bit, bool use32BitRegedit, bool use64BitRegedit);

}  // namespace hivescout
