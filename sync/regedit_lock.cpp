#include "sync/regedit_lock.h"

#include "base/report.h"
#include "base/shared_objects.h"
#include "base/report_texts.h"

namespace hivescout {

bool RegeditLock::acquire(std::uint32_t regeditProcessId, bool giveUpWhenBlocked, std::uint32_t waitTimeoutMs) {
    handle_.reset(openRegeditLock(regeditProcessId, false));
    if (!handle_) {
        reportPieces(*outputStream, text::kOutputPrefix, ownProcessId, text::kSynchronisationUnavailable, L'\n');
        return true;
    }
    if (::WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0) return held_ = true;
    if (giveUpWhenBlocked) return false;
    // WAIT_ABANDONED hands the lock over: its holder ended without giving it up.
    held_ = ::WaitForSingleObject(handle_.get(), waitTimeoutMs) != WAIT_TIMEOUT;
    return held_;
}

void RegeditLock::release() noexcept {
    if (held_) ::ReleaseMutex(handle_.get());
    held_ = false;
}

}  // namespace hivescout
