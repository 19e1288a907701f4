#include "sync/regedit_lock.h"

#include <sstream>

#include "app/process_state.h"
#include "app/report.h"

std::wstring regeditLockName(std::uint32_t regeditProcessId) {
    std::wostringstream name;
    name << L"Hivescout Wait for other instance to finish" << regeditProcessId;
    return name.str();
}

HANDLE openRegeditLock(std::uint32_t regeditProcessId, bool openOnly) {
    const std::wstring name = regeditLockName(regeditProcessId);
    if (openOnly) return ::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name.c_str());
    return ::CreateMutexW(nullptr, TRUE, name.c_str());
}

bool JumpSettings::acquireRegeditLock(std::uint32_t regeditProcessId) {
    regeditLock = openRegeditLock(regeditProcessId, false);
    if (regeditLock == nullptr) {
        reportPieces(*outputStream, L"Process ID: ", ownProcessId,
                     L"(Error) Error occured during the initialisation of the Hivescout synchronisation data. "
                     L"This instance will not be able to synchronise itself with other running Hivescout instances.",
                     L'\n');
        return true;
    }
    if (::WaitForSingleObject(regeditLock, 0) == WAIT_OBJECT_0) return true;
    if (terminateIfOtherInstanceIsBlocking) return false;
    // WAIT_ABANDONED hands the lock over: its holder ended without giving it up.
    return ::WaitForSingleObject(regeditLock, waitTimeoutMs) != WAIT_TIMEOUT;
}

void JumpSettings::releaseRegeditLock() noexcept {
    // The handle stays open until the process ends, so the editor counts as in use.
    if (!terminateIfOtherInstanceIsBlocking && regeditLock != nullptr) ::ReleaseMutex(regeditLock);
}
