#include "sync/jump.h"

#include "app/exit_flags.h"
#include "app/report.h"
#include "app/report_encoding.h"
#include "regedit/discovery.h"
#include "regedit/launch.h"
#include "regedit/window_wait.h"
#include "sync/termination.h"
#include "views/regedit_views.h"

namespace {

const DWORD kAdoptedAccess = SYNCHRONIZE | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                             PROCESS_QUERY_INFORMATION;
const DWORD kSettleAfterLaunchMs = 50;
const DWORD kSettleBeforeLockMs = 30;
// While an editor is chosen, this bit marks one named by process ID but not yet opened.
const std::uint32_t kEditorToAdopt = ExitFlags::RegeditTerminated;

std::uint32_t launchAndWait(WindowEnumerator& enumerator, const std::wstring& command,
                            const std::wstring* directory) {
    STARTUPINFOW startupInfo{};
    startupInfo.cb = sizeof(startupInfo);
    std::uint32_t result = launchRegedit(startupInfo, regeditInstance.launchInfo, command, directory);
    if (result & ExitFlags::RegeditLaunchFailed) return result;
    ::Sleep(kSettleAfterLaunchMs);
    regeditInstance.process = regeditInstance.launchInfo.hProcess;
    result |= waitForRegeditWindow(enumerator, regeditInstance.launchInfo.dwProcessId);
    regeditInstance.processId = regeditInstance.launchInfo.dwProcessId;
    return result;
}

// Reports a running editor of the wrong bitness; 0 when there is no conflict.
std::uint32_t checkBitnessConflict(const std::wstring& command) {
    if ((regeditInstance.is32Bit != 0) == (jumpSettings.use32BitRegedit != 0)) return 0;
    if (jumpSettings.use32BitRegedit) {
        reportError(L", There is a 64 bit version of ", command,
                    L" working at the moment and it prevents running a new 32 bit version of ", command,
                    L". You can try the multiple instances switch (-MultipleInstances or -M), the 64 bit version of "
                    L"Regedit or close all running 64 bit Regedits");
        return ExitFlags::Running64BitRegeditBlocks32;
    }
    if (jumpSettings.use64BitRegedit) {
        reportError(L", There is a 32 bit version of ", command,
                    L" working at the moment and it prevents running a new 64 bit version of regedit. You can try "
                    L"the multiple instances switch (-MultipleInstances or -M) or close all running 32 bit "
                    L"regedits' windows.");
        return ExitFlags::Running32BitRegeditBlocks64;
    }
    return 0;
}

std::uint32_t adoptEditor(WindowEnumerator& enumerator, RegeditViews& views, const std::wstring& command) {
    regeditInstance.process = ::OpenProcess(kAdoptedAccess, FALSE, regeditInstance.processId);
    if (regeditInstance.process == nullptr) return ExitFlags::RegeditHandleFailed;
    regeditInstance.is32Bit = isProcess32Bit(regeditInstance.process) ? 1 : 0;
    if (const std::uint32_t conflict = checkBitnessConflict(command)) return conflict;

    if (const std::uint32_t ended = waitForRegeditWindow(enumerator, regeditInstance.processId)) return ended;
    if (enumerator.windows().empty()) return ExitFlags::NoEligibleWindow;
    return findRegeditViews(enumerator.windows(), views, regeditInstance.process, kRemoteTextCapacity);
}

std::uint32_t findViews(std::uint32_t result, WindowEnumerator& enumerator, RegeditViews& views,
                        const std::wstring& command) {
    if (!enumerator.windows().empty())
        return findRegeditViews(enumerator.windows(), views, regeditInstance.process, kRemoteTextCapacity);
    if (result & kEditorToAdopt) return (result & ~kEditorToAdopt) | adoptEditor(enumerator, views, command);
    // A launched editor that showed no accepted window in time; a failed launch keeps 8.
    return result == 0 ? ExitFlags::NoEligibleWindow : result;
}

std::uint32_t lockAndWalk(const std::wstring& jumpPath, const RegeditViews& views) {
    startTerminationWatcher(&regeditInstance.processId);
    if (jumpSettings.terminateOtherWaitingInstances) sendTerminationCommand(regeditInstance.processId);
    resumeTerminationWatcher();
    ::Sleep(kSettleBeforeLockMs);

    if (!jumpSettings.acquireRegeditLock(regeditInstance.processId)) {
        reportError(L", Regedit is in use by another instance of Hivescout. The jump to \"", visibleInReport(jumpSettings.jumpPath),
                    L"\" will not be possible. Application is terminating");
        return ExitFlags::BlockedByOtherInstance;
    }
    reportOutput(L", Jumping to ", targetKindWord, L": ", visibleInReport(jumpSettings.jumpPath));
    std::uint32_t result = jumpInRegeditViews(jumpPath, views);
    if (::WaitForSingleObject(regeditInstance.process, 0) == WAIT_OBJECT_0) {
        reportError(L", Regedit terminated unexpectedly before the jump could be completed.");
        result |= ExitFlags::RegeditTerminated;
    }
    return result;
}

}  // namespace

std::uint32_t jumpToPath(const std::wstring& jumpPath, std::wstring regeditCommand,
                         const std::wstring* regeditDirectory) {
    regeditInstance = RegeditInstance{};
    WindowEnumerator enumerator;
    std::uint32_t result = 0;

    if (!jumpSettings.useMultipleInstancesOfRegedit) regeditInstance.processId = findEligibleRegedit(regeditCommand);
    if (regeditInstance.processId == RegeditInstance::kNoProcess)
        result = launchAndWait(enumerator, regeditCommand, regeditDirectory);
    else
        result = kEditorToAdopt;

    allocateLocalText();
    RegeditViews views;
    result = findViews(result, enumerator, views, regeditCommand);

    if (result == 0) {
        result = lockAndWalk(jumpPath, views);
    } else if (result & ExitFlags::CommunicationSetupFailed) {
        reportOutput(L", Jump to ", targetKindWord, L": ", visibleInReport(jumpSettings.jumpPath), L", FAILED.");
    }
    releaseRegedit();
    return result;
}
