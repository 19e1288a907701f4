#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace hivescout {

// Where the editor is started from, before expansion, and how.
std::wstring regeditDirectoryTemplate(bool use32BitRegedit);
std::wstring regeditCommandFor(bool useMultipleInstances);

// Expands environment references in place; 0 on success, else an error code.
DWORD expandSystemRoot(std::wstring& text);

// The command line that starts the editor: the program path from the directory and the
// command's first word, quoted when it holds a blank, then the command's arguments.
std::wstring composeLaunchCommandLine(const std::wstring& command, const std::wstring* directory);

// Starts the editor, unless a policy disables registry editing; fills launchInfo. Returns 0,
// or RegeditLaunchFailed after reporting the failure or the policy.
std::uint32_t launchRegedit(STARTUPINFOW& startupInfo, PROCESS_INFORMATION& launchInfo, std::wstring command,
                            const std::wstring* directory);

}  // namespace hivescout
