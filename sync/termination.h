#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace hivescout {

// Creates or opens the editor's manual-reset termination event. Null on failure.
HANDLE openTerminationEvent(std::uint32_t regeditProcessId);

// Creates the watcher thread, suspended, for the editor with this process ID; clears a
// command that is still set. Called on the main thread, which a command stops; only the
// first call in a process acts.
void startTerminationWatcher(std::uint32_t regeditProcessId);

// Lets the watcher wait for commands.
void resumeTerminationWatcher();

// Called once the exit code is decided: a command that comes later is ignored, so the
// process can end and tear down without the watcher touching what the teardown frees.
void closeTerminationWatcher();

// Ends every other copy that holds or waits for the editor: set, 200 ms, reset.
void sendTerminationCommand(std::uint32_t regeditProcessId);

// The watcher's two lines, in their final bytes (ASCII, CR LF), composed without any
// memory allocation. Returns the length, or 0 when the buffer is too small.
std::size_t composeTerminationLines(char* buffer, std::size_t capacity, std::uint32_t processId,
                                    const SYSTEMTIME& localTime);

}  // namespace hivescout
