#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// "Hivescout Wait for other instance to finish" followed by the editor's process ID.
std::wstring regeditLockName(std::uint32_t regeditProcessId);

// Opens an existing lock (openOnly) or creates it with initial ownership. Null on failure.
HANDLE openRegeditLock(std::uint32_t regeditProcessId, bool openOnly);
