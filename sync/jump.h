#pragma once
#include <cstdint>
#include <string>

#include "sync/regedit_lock.h"
#include "views/key_path.h"

namespace hivescout {

// What the jump takes from the settings.
struct JumpOptions {
    JumpKind kind = JumpKind::KeyOrValue;
    bool use32BitRegedit = false;
    bool use64BitRegedit = true;
    bool useMultipleInstances = false;
    bool terminateOtherWaitingInstances = false;
    bool giveUpWhenBlocked = false;  // rather than wait for another copy's lock
    std::uint32_t waitTimeoutMs = 3000;
};

// The whole jump: choose or launch an editor, find its views, take its lock, walk the
// tree and release everything. Returns the jump's result bits.
// The lock taken on the editor stays with the caller until the process ends.
std::uint32_t jumpToPath(const std::wstring& jumpPath, const JumpOptions& options, RegeditLock& lock,
                         std::wstring regeditCommand, const std::wstring* regeditDirectory);

}  // namespace hivescout
