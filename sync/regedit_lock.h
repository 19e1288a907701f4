#pragma once
#include <windows.h>

#include <cstdint>

#include "base/handle.h"

namespace hivescout {

// This copy's hold on one editor: while it holds the lock, other copies wait or give up.
// It lives as long as the jump session, which ends after the run's last line, so other
// copies count the editor as in use for as long as this copy runs.
class RegeditLock {
public:
    RegeditLock() = default;
    RegeditLock(const RegeditLock&) = delete;
    RegeditLock& operator=(const RegeditLock&) = delete;
    ~RegeditLock() { release(); }

    // Takes the editor's lock, waiting up to waitTimeoutMs for another holder unless
    // giveUpWhenBlocked. When the lock cannot be made at all, reports it and goes on
    // unsynchronised (true).
    bool acquire(std::uint32_t regeditProcessId, bool giveUpWhenBlocked, std::uint32_t waitTimeoutMs);

    // Lets the next waiter in; the handle itself stays open.
    void release() noexcept;

private:
    // One wait on the lock; the hold is kept only for a real one. Returns the wait's result.
    DWORD takeHold(DWORD timeoutMs);
    bool held() const noexcept { return static_cast<bool>(hold_); }

    UniqueHandle handle_;
    HeldMutex hold_;  // the one hold, however it was taken; given up before the handle closes
};

}  // namespace hivescout
