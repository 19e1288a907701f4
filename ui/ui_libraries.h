#pragma once
#include <windows.h>

namespace hivescout {

// The common controls and COM serve only the usage window. They are loaded when it is
// about to open, not at start: loading them (and the theming the controls set up) costs
// every jump start-up time for nothing.

// Loads both libraries, initialises COM for this thread and registers the common
// control classes; undone in reverse order when the object goes.
class UiLibraries {
public:
    UiLibraries();
    UiLibraries(const UiLibraries&) = delete;
    UiLibraries& operator=(const UiLibraries&) = delete;
    ~UiLibraries();

private:
    bool comInitialised_ = false;
};

}  // namespace hivescout
