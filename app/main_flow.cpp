#include "app/main_flow.h"

#include <exception>

#include "hivescout_version.h"

#include "app/clipboard.h"
#include "app/path_forms.h"
#include "base/exit_flags.h"
#include "base/report.h"
#include "base/report_encoding.h"
#include "base/report_texts.h"
#include "base/system_library.h"
#include "regedit/launch.h"
#include "sync/jump_session.h"
#include "sync/termination.h"
#include "ui/ui_libraries.h"
#include "ui/usage.h"

namespace hivescout {

namespace {

const wchar_t kBuild[] = HIVESCOUT_VERSION_WIDE;

std::uint32_t showUsage(const std::wstring& programFileName) {
    const UiLibraries libraries;
    const UniqueModule richEdit = loadSystemLibrary(L"RICHED20.DLL");
    if (richEdit) return showRichUsage(programFileName);
    return showPlainUsage(programFileName);
}

JumpOptions jumpOptionsFrom(const JumpSettings& settings) {
    JumpOptions options;
    options.kind = settings.jumpKind;
    options.use32BitRegedit = settings.use32BitRegedit;
    options.use64BitRegedit = settings.use64BitRegedit;
    options.useMultipleInstances = settings.useMultipleInstancesOfRegedit;
    options.terminateOtherWaitingInstances = settings.terminateOtherWaitingInstances;
    options.giveUpWhenBlocked = settings.terminateIfOtherInstanceIsBlocking;
    options.waitTimeoutMs = settings.waitTimeoutMs;
    options.trailingBackslashes = settings.jumpPathTrailingBackslashes;
    return options;
}

JumpOutcome prepareAndRunJump(const JumpSettings& settings, JumpSession& session) {
    std::wstring directory = regeditDirectoryTemplate(settings.use32BitRegedit);
    if (const DWORD error = expandSystemRoot(directory)) {
        SystemError{error}.report(0, text::kSystemRootFailed);
        directory.clear();
    }
    const std::wstring command = regeditCommandFor(settings.useMultipleInstancesOfRegedit);
    return session.run(settings.jumpPath, jumpOptionsFrom(settings), command, directory.empty() ? nullptr : &directory);
}

// The path becomes the settings' jump path, so that every report line shows it.
std::uint32_t takePathFromClipboard(JumpSettings& settings) {
    std::wstring text;
    DWORD error = 0;
    // Half a second of it may go to waiting for a program that holds the clipboard.
    switch (readClipboardTextWithin(1000, text, error)) {
    case ClipboardText::NotDelivered: reportError(text::kClipboardNotDelivered); return ExitFlags::NoKeyGiven;
    case ClipboardText::Unavailable:
        return SystemError{error}.report(ExitFlags::NoKeyGiven, text::kClipboardUnavailable);
    case ClipboardText::Empty: reportError(text::kClipboardEmpty); return ExitFlags::NoKeyGiven;
    case ClipboardText::Read: break;
    }
    std::wstring path = firstNonEmptyLine(text);
    const std::size_t trailingBackslashes = normaliseJumpPath(path);
    if (path.empty()) {
        reportError(text::kClipboardNoPath);
        return ExitFlags::NoKeyGiven;
    }
    settings.jumpPath = path;
    settings.jumpPathTrailingBackslashes = trailingBackslashes;
    return 0;
}

void runSteps(JumpSettings& settings, JumpSession& session, const std::wstring& startTime) {
    if (settings.logToFile) openLogFile(settings.logFilePath, settings.appendLog);
    reportPieces(*outputStream, text::kStarted, kBuild, text::kStartedBitness, text::kStartedProcess, ownProcessId,
                 text::kStartedOn, startTime, L'\n');

    if (settings.showHelp) {
        exitFlags |= showUsage(settings.programFileName);
    } else {
        const wchar_t* kindWord = kindWordFor(settings.jumpKind);
        const std::uint32_t clipboardFailure = settings.pathFromClipboard ? takePathFromClipboard(settings) : 0;
        if (clipboardFailure != 0) {
            exitFlags |= clipboardFailure;
        } else if (settings.jumpPath.empty()) {
            exitFlags |= missingTargetFlags(settings.jumpKind);
        } else {
            const JumpOutcome outcome = prepareAndRunJump(settings, session);
            exitFlags = outcome.flags;
            kindWord = outcome.kindWord;
            reportOutcome(outcome, settings.jumpPath);
        }
        if (exitFlags != 0) reportFailures(exitFlags, kindWord);
    }
}

void reportUnhandledException() {
    if (outputIsStandard()) {
        reportPieces(*outputStream, text::kUnhandledException);
    } else {
        standardOutput.clear();
        standardOutput << text::kUnhandledException;
        standardOutput.flush();
    }
}

}  // namespace

std::uint32_t missingTargetFlags(JumpKind kind) {
    switch (kind) {
    case JumpKind::Key: return ExitFlags::NoKeyGiven;
    case JumpKind::Value: return ExitFlags::NoValueGiven;
    default: return ExitFlags::NoKeyGiven | ExitFlags::NoValueGiven;
    }
}

void reportOutcome(const JumpOutcome& outcome, const std::wstring& jumpPath) {
    if (outcome.flags == 0) {
        reportOutput(text::kJumpSucceeded, outcome.kindWord, text::kJumpSucceededEnd);
    } else if (outcome.flags & ExitFlags::KeyNotFound) {
        reportJumpFailed(outcome, jumpPath);
    }
}

std::uint32_t runJump(JumpSettings& settings) {
    const std::wstring startTime = currentTimestamp();
    // Released only after the end line: until then the editor stays locked for this copy.
    JumpSession session;
    try {
        runSteps(settings, session, startTime);
    } catch (...) {
        reportUnhandledException();
    }
    // The exit code is decided: a termination command from now on must not change it,
    // nor touch what the exit-time teardown frees.
    closeTerminationWatcher();
    const std::wstring endTime = currentTimestamp();
    reportPieces(*outputStream, text::kEndedProcess, ownProcessId, text::kEndedOn, endTime, L'\n');
    return exitFlags;
}

}  // namespace hivescout
