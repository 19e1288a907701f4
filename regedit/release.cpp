#include "regedit/release.h"

#include "regedit/regedit_instance.h"
#include "views/remote_buffers.h"

namespace hivescout {

namespace {

// Every handle is taken out of its owner before it is closed, so the main thread and
// the termination watcher never close one twice.
void closeRegeditHandles() noexcept {
    regeditInstance.process = nullptr;
    // A launched editor that ended during its window wait is opened again by process ID;
    // that second handle is closed too.
    regeditInstance.openedProcess.reset();
    regeditInstance.launchedProcess.reset();
    regeditInstance.launchedThread.reset();
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
