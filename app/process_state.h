#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/jump_settings.h"

// Process-wide state. All of it is created during static initialisation, in the order
// of the declarations below, and lives until the process ends.
extern JumpSettings jumpSettings;
extern std::wstring targetKindWord;  // "key", "value" or "key/value"
extern std::wstring passedPath;      // the tree items (and value) matched so far
extern HANDLE mainThreadHandle;      // suspended by the termination watcher
extern DWORD ownProcessId;
extern std::wostringstream reportStream;  // where every report text is composed

// The result bits of the run; the termination watcher reads them from its own thread.
extern std::atomic<std::uint32_t> exitFlags;
