#include "sync/jump.h"

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_encoding.h"
#include "base/report_texts.h"
#include "regedit/discovery.h"
#include "regedit/launch.h"
#include "regedit/regedit_instance.h"
#include "regedit/release.h"
#include "regedit/silent_editor.h"
#include "regedit/window_wait.h"
#include "sync/termination.h"
#include "views/remote_buffers.h"
#include "views/tree_walk.h"

namespace hivescout {

namespace {

const DWORD kAdoptedAccess = SYNCHRONIZE | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                             PROCESS_QUERY_INFORMATION;
const DWORD kSettleAfterLaunchMs = 50;
const DWORD kSettleBeforeLockMs = 30;

std::uint32_t launchAndWait(WindowEnumerator& enumerator, const std::wstring& command,
                            const std::wstring* directory) {
    STARTUPINFOW startupInfo{};
    startupInfo.cb = sizeof(startupInfo);
    PROCESS_INFORMATION launchInfo{};
    std::uint32_t result = launchRegedit(startupInfo, launchInfo, command, directory);
    regeditInstance.launchedProcess.reset(launchInfo.hProcess);
    regeditInstance.launchedThread.reset(launchInfo.hThread);
    if (result & ExitFlags::RegeditLaunchFailed) return result;
    ::Sleep(kSettleAfterLaunchMs);
    regeditInstance.process = launchInfo.hProcess;
    result |= waitForRegeditWindow(enumerator, launchInfo.dwProcessId, regeditInstance.process);
    regeditInstance.processId = launchInfo.dwProcessId;
    return result;
}

// Reports a running editor of the wrong bitness; 0 when there is no conflict.
std::uint32_t checkBitnessConflict(const JumpOptions& options, const std::wstring& command) {
    if (regeditInstance.is32Bit == options.use32BitRegedit) return 0;
    if (options.use32BitRegedit) {
        reportError(text::kRunning64Bit, command, text::kRunning64BitBlocks, command, text::kRunning64BitAdvice);
        return ExitFlags::Running64BitRegeditBlocks32;
    }
    if (options.use64BitRegedit) {
        reportError(text::kRunning32Bit, command, text::kRunning32BitBlocks);
        return ExitFlags::Running32BitRegeditBlocks64;
    }
    return 0;
}

// Bit 4 and the lines that say which editor stayed without a window, and why when it can tell.
std::uint32_t reportWindowlessEditor(const JumpOptions& options, const std::wstring& command) {
    return reportSilentEditor(regeditInstance.processId, regeditInstance.process, command.substr(0, command.find(L' ')),
                              options.use32BitRegedit, options.use64BitRegedit);
}

std::uint32_t adoptEditor(WindowEnumerator& enumerator, RegeditViews& views, const JumpOptions& options,
                          const std::wstring& command) {
    regeditInstance.openedProcess.reset(::OpenProcess(kAdoptedAccess, FALSE, regeditInstance.processId));
    regeditInstance.process = regeditInstance.openedProcess.get();
    if (regeditInstance.process == nullptr) return ExitFlags::RegeditHandleFailed;
    regeditInstance.is32Bit = isProcess32Bit(regeditInstance.process);
    if (const std::uint32_t conflict = checkBitnessConflict(options, command)) return conflict;

    if (const std::uint32_t ended = waitForRegeditWindow(enumerator, regeditInstance.processId, regeditInstance.process)) return ended;
    if (enumerator.windows().empty()) return reportWindowlessEditor(options, command);
    return findRegeditViews(enumerator.windows(), views, regeditInstance.process);
}

// A running editor, named by process ID, is opened only once the views are searched. A
// launched editor that ended during its window wait is looked at again the same way.
std::uint32_t findViews(bool launched, std::uint32_t launchResult, WindowEnumerator& enumerator, RegeditViews& views,
                        const JumpOptions& options, const std::wstring& command) {
    if (!enumerator.windows().empty())
        return findRegeditViews(enumerator.windows(), views, regeditInstance.process);
    if (!launched || (launchResult & ExitFlags::RegeditTerminated))
        return (launchResult & ~ExitFlags::RegeditTerminated) | adoptEditor(enumerator, views, options, command);
    // A launched editor that showed no accepted window in time; a failed launch keeps 8.
    return launchResult == 0 ? reportWindowlessEditor(options, command) : launchResult;
}

std::uint32_t lockAndWalk(const std::wstring& jumpPath, const RegeditViews& views, const JumpOptions& options,
                          RegeditLock& lock) {
    startTerminationWatcher(&regeditInstance.processId);
    if (options.terminateOtherWaitingInstances) sendTerminationCommand(regeditInstance.processId);
    resumeTerminationWatcher();
    ::Sleep(kSettleBeforeLockMs);

    if (!lock.acquire(regeditInstance.processId, options.giveUpWhenBlocked, options.waitTimeoutMs)) {
        reportError(text::kInUse, visibleInReport(jumpPath), text::kInUseEnd);
        return ExitFlags::BlockedByOtherInstance;
    }
    reportOutput(text::kJumping, targetKindWord, text::kKindPathSeparator, visibleInReport(jumpPath));
    const RecordLayout layout =
        chooseRecordLayout(options.use32BitRegedit, options.use64BitRegedit, regeditInstance.is32Bit);
    std::uint32_t result = jumpInRegeditViews(jumpPath, views, options.kind, layout);
    if (::WaitForSingleObject(regeditInstance.process, 0) == WAIT_OBJECT_0) {
        reportError(text::kEditorEndedDuringJump);
        result |= ExitFlags::RegeditTerminated;
    }
    return result;
}

}  // namespace

std::uint32_t jumpToPath(const std::wstring& jumpPath, const JumpOptions& options, RegeditLock& lock,
                         std::wstring regeditCommand, const std::wstring* regeditDirectory) {
    regeditInstance = RegeditInstance{};
    WindowEnumerator enumerator;

    if (!options.useMultipleInstances)
        regeditInstance.processId =
            findEligibleRegedit(regeditCommand, options.use32BitRegedit, options.use64BitRegedit);
    const bool launched = regeditInstance.processId == RegeditInstance::kNoProcess;
    const std::uint32_t launchResult = launched ? launchAndWait(enumerator, regeditCommand, regeditDirectory) : 0;

    allocateLocalText();
    RegeditViews views;
    std::uint32_t result = findViews(launched, launchResult, enumerator, views, options, regeditCommand);

    if (result == 0) {
        result = lockAndWalk(jumpPath, views, options, lock);
    } else if (result & ExitFlags::CommunicationSetupFailed) {
        reportOutput(text::kJumpTo, targetKindWord, text::kKindPathSeparator, visibleInReport(jumpPath), text::kJumpFailed);
    }
    releaseRegedit();
    return result;
}

}  // namespace hivescout
