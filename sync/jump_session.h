#pragma once
#include <cstdint>
#include <string>

#include "regedit/editor_windows.h"
#include "regedit/regedit_instance.h"
#include "sync/regedit_lock.h"
#include "views/key_path.h"
#include "views/remote_buffers.h"
#include "views/tree_walk.h"

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
    std::size_t trailingBackslashes = 0;  // taken off the path's end; a value's name may end with them
};

// One jump and what it holds: the editor in use, the blocks inside it with the tool's
// copy of their text, and the editor's lock. All of it is released when the session ends,
// by its members' own ends; while the lock is held other copies count the editor as in
// use, so the session lives until the run's last line is written.
class JumpSession {
public:
    // The whole jump, once per session: choose or launch an editor, find its views, take
    // its lock, walk the tree and show the result.
    JumpOutcome run(const std::wstring& jumpPath, const JumpOptions& options, std::wstring regeditCommand,
                    const std::wstring* regeditDirectory);

private:
    std::uint32_t launchAndWait(WindowEnumerator& enumerator, const std::wstring* directory);
    std::uint32_t checkBitnessConflict() const;
    std::uint32_t reportWindowlessEditor() const;
    std::uint32_t adoptEditor(WindowEnumerator& enumerator, RegeditViews& views);
    std::uint32_t findViews(bool launched, std::uint32_t launchResult, WindowEnumerator& enumerator,
                            RegeditViews& views);
    std::uint32_t findViewsAmong(const WindowSet& windows, RegeditViews& views);
    JumpOutcome lockAndWalk(const std::wstring& jumpPath, const RegeditViews& views);

    JumpOptions options_;
    std::wstring command_;
    // Members end in the reverse order: the blocks are freed while the editor's handle is
    // still open, and the lock is given up last.
    RegeditLock lock_;
    RegeditInstance editor_;
    RemoteBuffers buffers_;
};

// The "Jump to ..., FAILED." line, and the passed path's line when the walk matched
// anything.
void reportJumpFailed(const JumpOutcome& outcome, const std::wstring& jumpPath);

}  // namespace hivescout
