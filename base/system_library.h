#pragma once
#include <windows.h>

#include "base/handle.h"

namespace hivescout {

// The program runs elevated and is often started from a download folder, where anyone may
// have put a library named like a system one. Libraries therefore come from the system
// folder only, never from the program's folder or the current directory.

// Makes the system folder the only place the process's default library search looks in,
// for the program's own loads and for those that system code makes by bare name.
// Returns whether the system took the restriction.
bool restrictLibrarySearch();

// Loads a library of the system folder by its file name.
UniqueModule loadSystemLibrary(const wchar_t* name);

}  // namespace hivescout
