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
#include "sync/jump.h"
#include "sync/termination.h"
#include "ui/ui_libraries.h"
#include "ui/usage.h"

namespace hivescout {

namespace {

const wchar_t kBuild[] = HIVESCOUT_VERSION_WIDE;

std::uint32_t showUsage() {
    const UiLibraries libraries;
    const UniqueModule richEdit = loadSystemLibrary(L"RICHED20.DLL");
    if (richEdit) return showRichUsage(jumpSettings.programFileName);
    return showPlainUsage(jumpSettings.programFileName);
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
    return options;
}

std::uint32_t prepareAndRunJump() {
    std::wstring directory = regeditDirectoryTemplate(jumpSettings.use32BitRegedit);
    if (expandSystemRoot(directory) != 0) {
        const DWORD error = ::GetLastError();
        reportError(text::kSystemRootFailed, formatSystemMessage(error));
        directory.clear();
    }
    const std::wstring command = regeditCommandFor(jumpSettings.useMultipleInstancesOfRegedit);
    return jumpToPath(jumpSettings.jumpPath, jumpOptionsFrom(jumpSettings), jumpSettings.regeditLock, command,
                      directory.empty() ? nullptr : &directory);
}

// The path becomes the settings' jump path, so that every report line shows it.
std::uint32_t takePathFromClipboard() {
    std::wstring text;
    DWORD error = 0;
    // Half a second of it may go to waiting for a program that holds the clipboard.
    switch (readClipboardTextWithin(1000, text, error)) {
        case ClipboardText::NotDelivered:
            reportError(text::kClipboardNotDelivered);
            return ExitFlags::NoKeyGiven;
        case ClipboardText::Unavailable:
            reportError(text::kClipboardUnavailable, formatSystemMessage(error));
            return ExitFlags::NoKeyGiven;
        case ClipboardText::Empty:
            reportError(text::kClipboardEmpty);
            return ExitFlags::NoKeyGiven;
        case ClipboardText::Read:
            break;
    }
    std::wstring path = firstNonEmptyLine(text);
    normaliseJumpPath(path);
    if (path.empty()) {
        reportError(text::kClipboardNoPath);
        return ExitFlags::NoKeyGiven;
    }
    jumpSettings.jumpPath = path;
    return 0;
}

void runSteps(HINSTANCE, const std::wstring& startTime) {
    if (jumpSettings.logToFile) openLogFile(jumpSettings.logFilePath, jumpSettings.appendLog);
    targetKindWord = kindWordFor(jumpSettings.jumpKind);
    reportPieces(*outputStream, text::kStarted, kBuild, text::kStartedBitness, text::kStartedProcess, ownProcessId,
                 text::kStartedOn, startTime, L'\n');

    if (jumpSettings.showHelp) {
        exitFlags |= showUsage();
    } else {
        const std::uint32_t clipboardFailure = jumpSettings.pathFromClipboard ? takePathFromClipboard() : 0;
        if (clipboardFailure != 0) {
            exitFlags |= clipboardFailure;
        } else if (jumpSettings.jumpPath.empty()) {
            exitFlags |= missingTargetFlags(jumpSettings.jumpKind);
        } else {
            exitFlags = prepareAndRunJump();
            reportOutcome(exitFlags, jumpSettings.jumpPath);
        }
        if (exitFlags != 0) reportFailures(exitFlags);
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

const wchar_t* kindWordFor(JumpKind kind) {
    switch (kind) {
        case JumpKind::Key: return text::kKindKey;
        case JumpKind::Value: return text::kKindValue;
        default: return text::kKindKeyOrValue;
    }
}

std::uint32_t missingTargetFlags(JumpKind kind) {
    switch (kind) {
        case JumpKind::Key: return ExitFlags::NoKeyGiven;
        case JumpKind::Value: return ExitFlags::NoValueGiven;
        default: return ExitFlags::NoKeyGiven | ExitFlags::NoValueGiven;
    }
}

void reportOutcome(std::uint32_t flags, const std::wstring& jumpPath) {
    if (flags == 0) {
        reportOutput(text::kJumpSucceeded, targetKindWord, text::kJumpSucceededEnd);
    } else if (flags & ExitFlags::KeyNotFound) {
        if (passedPath.empty()) {
            reportOutput(text::kJumpTo, targetKindWord, text::kKindPathSeparator, visibleInReport(jumpPath),
                         text::kJumpFailed);
        } else {
            reportOutput(text::kJumpTo, targetKindWord, text::kKindPathSeparator, visibleInReport(jumpPath),
                         text::kJumpFailed, L'\n', text::kPassedPath, visibleInReport(passedPath));
        }
    }
}

std::uint32_t runJump(HINSTANCE instance) {
    const std::wstring startTime = currentTimestamp();
    try {
        runSteps(instance, startTime);
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
