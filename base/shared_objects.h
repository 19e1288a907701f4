#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace hivescout {

// The named kernel objects that copies of the program share, one of each per editor.

// "Hivescout Wait for other instance to finish" followed by the editor's process ID.
std::wstring regeditLockName(std::uint32_t regeditProcessId);

// "HivescoutTErMInaTIonEvent for regedit with PID " followed by the editor's process ID.
std::wstring terminationEventName(std::uint32_t regeditProcessId);

// Makes the editor's lock with no owner, or opens it when another copy made it first.
// Null on failure.
HANDLE tryCreateRegeditLock(std::uint32_t regeditProcessId);

// Opens the editor's lock if it exists; null otherwise.
HANDLE tryOpenRegeditLock(std::uint32_t regeditProcessId);

}  // namespace hivescout
