#include "sync/regedit_lock.h"

#include "base/report.h"
#include "base/shared_objects.h"
#include "base/report_texts.h"

namespace hivescout {

bool RegeditLock::acquire(std::uint32_t regeditProcessId, bool giveUpWhenBlocked, std::uint32_t waitTimeoutMs) {
    handle_.reset(tryCreateRegeditLock(regeditProcessId));
    if (!handle_) {
        reportPieces(*outputStream, text::kOutputPrefix, ownProcessId, text::kSynchronisationUnavailable, L'\n');
        return true;
    }
    const DWORD probe = takeHold(0);
    if (giveUpWhenBlocked) {
        // Without a wait only a free lock counts: one left abandoned is let go at once.
        if (probe != WAIT_OBJECT_0) hold_.reset();
        return held();
    }
    if (!held()) takeHold(waitTimeoutMs);
    return held();
}

// WAIT_ABANDONED is a hold as well: the holder ended without giving the lock up, and it
// passed to this copy. A failed wait holds nothing.
DWORD RegeditLock::takeHold(DWORD timeoutMs) {
    const DWORD result = ::WaitForSingleObject(handle_.get(), timeoutMs);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) hold_.reset(handle_.get());
    return result;
}

void RegeditLock::release() noexcept { hold_.reset(); }

}  // namespace hivescout
