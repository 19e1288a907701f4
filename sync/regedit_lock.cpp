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
    const bool takenAtOnce = ::WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0;
    if (!takenAtOnce && giveUpWhenBlocked) return false;
    // WAIT_ABANDONED hands the lock over: its holder ended without giving it up.
    if (takenAtOnce || ::WaitForSingleObject(handle_.get(), waitTimeoutMs) != WAIT_TIMEOUT) hold_.reset(handle_.get());
    return static_cast<bool>(hold_);
}

void RegeditLock::release() noexcept { hold_.reset(); }

}  // namespace hivescout
