#include "regedit/release.h"

#include <utility>

#include "regedit/regedit_instance.h"
#include "views/remote_buffers.h"

namespace hivescout {

namespace {

// Closes the editor's handles once; every closed handle is cleared so that the main
// thread and the termination watcher never close one twice.
void closeRegeditHandles() noexcept {
    PROCESS_INFORMATION& launched = regeditInstance.launchInfo;
    // A launched editor that ended during its window wait is opened again by process ID;
    // that second handle is closed too.
    if (regeditInstance.process != nullptr && regeditInstance.process != launched.hProcess)
        ::CloseHandle(std::exchange(regeditInstance.process, nullptr));
    if (launched.hProcess != nullptr) ::CloseHandle(std::exchange(launched.hProcess, nullptr));
    if (launched.hThread != nullptr) ::CloseHandle(std::exchange(launched.hThread, nullptr));
    regeditInstance.process = nullptr;
}

}  // namespace

void releaseRegedit() {
    releaseRemoteBuffers();
    closeRegeditHandles();
}

void releaseRegeditWithoutFreeing() noexcept {
    abandonRemoteBuffers();
    closeRegeditHandles();
}

}  // namespace hivescout
