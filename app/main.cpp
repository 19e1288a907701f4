#include <windows.h>

#include "app/main_flow.h"
#include "base/system_library.h"

// The runtime's own entry, which runs the static initialisers and then wWinMain
// (MinGW-w64 takes its wide start-up from -municode, under the plain name).
#ifdef _MSC_VER
#define HIVESCOUT_RUNTIME_ENTRY wWinMainCRTStartup
#else
#define HIVESCOUT_RUNTIME_ENTRY WinMainCRTStartup
#endif
extern "C" int HIVESCOUT_RUNTIME_ENTRY();

// The program's entry (set at link time): the library search is restricted before the
// runtime and the static initialisers run, so that nothing they load by name can come
// from the program's folder.
extern "C" int hivescoutStartup() {
    hivescout::restrictLibrarySearch();
    return HIVESCOUT_RUNTIME_ENTRY();
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    hivescout::JumpSettings settings(::GetCommandLineW());
    return static_cast<int>(hivescout::runJump(settings));
}
