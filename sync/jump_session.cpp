#include "sync/jump_session.h"

#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_encoding.h"
#include "base/report_texts.h"
#include "regedit/discovery.h"
#include "regedit/launch.h"
#include "regedit/silent_editor.h"
#include "sync/termination.h"
#include "views/value_list.h"

namespace hivescout {

namespace {

const DWORD kAdoptedAccess =
    SYNCHRONIZE | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION;
const DWORD kSettleAfterLaunchMs = 50;
const DWORD kSettleBeforeLockMs = 30;

// The window is shown once the target is selected, or once the editor has ended (then
// there is nothing left to show). A chosen row gets its input on the shown window, which
// is raised again after it, unless the list did not answer.
void showResult(const WalkOutcome& walk, const RegeditViews& views, EditorMessenger& messages) {
    if (walk.jump.flags != 0) return;
    restoreRegeditWindow(views.tree);
    if (!walk.rowChosen) return;
    confirmRowChoice(views.list, messages);
    if (!messages.unanswered()) restoreRegeditWindow(views.tree);
}

}  // namespace

std::uint32_t JumpSession::launchAndWait(WindowEnumerator& enumerator, const std::wstring* directory) {
    STARTUPINFOW startupInfo{};
    startupInfo.cb = sizeof(startupInfo);
    PROCESS_INFORMATION launchInfo{};
    std::uint32_t result = launchRegedit(startupInfo, launchInfo, command_, directory);
    editor_.process.reset(launchInfo.hProcess);
    editor_.launchedThread.reset(launchInfo.hThread);
    if (result & ExitFlags::RegeditLaunchFailed) return result;
    ::Sleep(kSettleAfterLaunchMs);
    editor_.processId = launchInfo.dwProcessId;
    return result | waitForRegeditWindow(enumerator, editor_);
}

// Reports a running editor of the wrong bitness; 0 when there is no conflict.
std::uint32_t JumpSession::checkBitnessConflict() const {
    if (editor_.is32Bit == options_.use32BitRegedit) return 0;
    if (options_.use32BitRegedit) {
        reportError(text::kRunning64Bit, command_, text::kRunning64BitBlocks, command_, text::kRunning64BitAdvice);
        return ExitFlags::Running64BitRegeditBlocks32;
    }
    if (options_.use64BitRegedit) {
        reportError(text::kRunning32Bit, command_, text::kRunning32BitBlocks);
        return ExitFlags::Running32BitRegeditBlocks64;
    }
    return 0;
}

// NoEligibleWindow and the lines that say which editor stayed without a window, and why when it can tell.
std::uint32_t JumpSession::reportWindowlessEditor() const {
    return reportSilentEditor(editor_.processId, editor_.process.get(), command_.substr(0, command_.find(L' ')),
                              options_.use32BitRegedit, options_.use64BitRegedit);
}

std::uint32_t JumpSession::adoptEditor(WindowEnumerator& enumerator, RegeditViews& views) {
    // A launched editor that ended is looked at again through a handle of its own.
    editor_.process.reset(::OpenProcess(kAdoptedAccess, FALSE, editor_.processId));
    if (!editor_.process) return ExitFlags::RegeditHandleFailed;
    editor_.is32Bit = isProcess32Bit(editor_.process.get());
    if (const std::uint32_t conflict = checkBitnessConflict()) return conflict;

    if (const std::uint32_t ended = waitForRegeditWindow(enumerator, editor_)) return ended;
    if (enumerator.windows().empty()) return reportWindowlessEditor();
    return findViewsAmong(enumerator.windows(), views);
}

// A running editor, named by process ID, is opened only once the views are searched. A
// launched editor that ended during its window wait is looked at again the same way.
std::uint32_t JumpSession::findViews(bool launched, std::uint32_t launchResult, WindowEnumerator& enumerator,
                                     RegeditViews& views) {
    if (!enumerator.windows().empty()) return findViewsAmong(enumerator.windows(), views);
    if (!launched || (launchResult & ExitFlags::RegeditTerminated))
        return (launchResult & ~ExitFlags::RegeditTerminated) | adoptEditor(enumerator, views);
    // A launched editor that showed no accepted window in time; a failed launch keeps 8.
    return launchResult == 0 ? reportWindowlessEditor() : launchResult;
}

std::uint32_t JumpSession::findViewsAmong(const WindowSet& windows, RegeditViews& views) {
    const std::uint32_t found = findRegeditViews(windows, views, editor_.process.get());
    return found != 0 ? found : buffers_.allocate(editor_.process.get());
}

JumpOutcome JumpSession::lockAndWalk(const std::wstring& jumpPath, const RegeditViews& views) {
    startTerminationWatcher(editor_.processId);
    if (options_.terminateOtherWaitingInstances) sendTerminationCommand(editor_.processId);
    resumeTerminationWatcher();
    ::Sleep(kSettleBeforeLockMs);

    const wchar_t* const kindWord = kindWordFor(options_.kind);
    if (!lock_.acquire(editor_.processId, options_.giveUpWhenBlocked, options_.waitTimeoutMs)) {
        reportError(text::kInUse, visibleInReport(jumpPath), text::kInUseEnd);
        return JumpOutcome{ExitFlags::BlockedByOtherInstance, kindWord, {}};
    }
    reportOutput(text::kJumping, kindWord, text::kKindPathSeparator, visibleInReport(jumpPath));
    const RecordLayout layout = chooseRecordLayout(options_.use32BitRegedit, options_.use64BitRegedit, editor_.is32Bit);
    const std::wstring pathAsGiven = jumpPath + std::wstring(options_.trailingBackslashes, L'\\');
    WalkOutcome walk = jumpInRegeditViews(pathAsGiven, views, options_.kind, layout, buffers_);
    showResult(walk, views, buffers_.messages);
    // The blocks stay in an editor that did not answer, and the lock is given up as always.
    if (buffers_.messages.unanswered()) {
        reportUnansweredEditor(editor_.processId, editor_.process.get());
    } else if (editorHasEnded(editor_)) {
        reportError(text::kEditorEndedDuringJump);
        walk.jump.flags |= ExitFlags::RegeditTerminated;
    }
    return std::move(walk.jump);
}

JumpOutcome JumpSession::run(const std::wstring& jumpPath, const JumpOptions& options, std::wstring regeditCommand,
                             const std::wstring* regeditDirectory) {
    options_ = options;
    command_ = std::move(regeditCommand);
    WindowEnumerator enumerator;

    if (!options_.useMultipleInstances)
        editor_.processId = findEligibleRegedit(command_, options_.use32BitRegedit, options_.use64BitRegedit);
    const bool launched = editor_.processId == RegeditInstance::kNoProcess;
    const std::uint32_t launchResult = launched ? launchAndWait(enumerator, regeditDirectory) : 0;

    RegeditViews views;
    const std::uint32_t found = findViews(launched, launchResult, enumerator, views);
    if (found == 0) return lockAndWalk(jumpPath, views);
    const JumpOutcome outcome{found, kindWordFor(options_.kind), {}};
    if (found & ExitFlags::CommunicationSetupFailed) reportJumpFailed(outcome, jumpPath);
    return outcome;
}

void reportJumpFailed(const JumpOutcome& outcome, const std::wstring& jumpPath) {
    const std::wstring passed =
        outcome.passedPath.empty() ? std::wstring() : L'\n' + (text::kPassedPath + visibleInReport(outcome.passedPath));
    reportOutput(text::kJumpTo, outcome.kindWord, text::kKindPathSeparator, visibleInReport(jumpPath),
                 text::kJumpFailed, passed);
}

}  // namespace hivescout
