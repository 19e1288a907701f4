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

// Opens an existing lock (openOnly) or creates it with initial ownership. Null on failure.
HANDLE openRegeditLock(std::uint32_t regeditProcessId, bool openOnly);

}  // namespace hivescout
