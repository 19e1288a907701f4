#include "regedit/release.h"

#include "regedit/regedit_instance.h"
#include "views/remote_buffers.h"

namespace hivescout {

namespace {

// Also run by the termination watcher on its own thread, once it has tried to suspend the
// main thread; nothing makes the two safe to run at the same time.
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
