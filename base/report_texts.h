#pragma once

namespace hivescout {

// Every sentence the program writes, as users and scripts see it. Scripts match these
// texts, so they are kept exactly as they have always been written: the misspellings
// ("Biuld", "successfull", "occured", "cought"), the double blanks and the blank before
// some colons are deliberate. A sentence with insertions is kept as its pieces, in order;
// the comment above it shows the whole line. Every line starts with the process ID prefix.
namespace text {

constexpr wchar_t kOutputPrefix[] = L"Process ID: ";
constexpr wchar_t kErrorPrefix[] = L"(Error) Process ID: ";

// Hivescout, Biuld <build>, 64 Bit, with process ID <pid> started on: <time>
constexpr wchar_t kStarted[] = L"Hivescout, Biuld ";
constexpr wchar_t kStartedBitness[] = L", 64 Bit";
constexpr wchar_t kStartedProcess[] = L", with process ID ";
constexpr wchar_t kStartedOn[] = L" started on: ";
// Hivescout with process ID <pid> ended on: <time>
constexpr wchar_t kEndedProcess[] = L"Hivescout with process ID ";
constexpr wchar_t kEndedOn[] = L" ended on: ";

// The jump: <kind> is "key", "value" or "key/value".
constexpr wchar_t kKindKey[] = L"key";
constexpr wchar_t kKindValue[] = L"value";
constexpr wchar_t kKindKeyOrValue[] = L"key/value";
// , Jumping to <kind>: <path>
constexpr wchar_t kJumping[] = L", Jumping to ";
// , Jump to the <kind> was successfull
constexpr wchar_t kJumpSucceeded[] = L", Jump to the ";
constexpr wchar_t kJumpSucceededEnd[] = L" was successfull";
// , Jump to <kind>: <path>, FAILED.   (and, for a key not found, on the next line)
//  The successfully passed path was : <passed path>
constexpr wchar_t kJumpTo[] = L", Jump to ";
constexpr wchar_t kKindPathSeparator[] = L": ";
constexpr wchar_t kJumpFailed[] = L", FAILED.";
constexpr wchar_t kPassedPath[] = L" The successfully passed path was : ";
// , The <kind> was not found
constexpr wchar_t kNotFound[] = L", The ";
constexpr wchar_t kNotFoundEnd[] = L" was not found";
constexpr wchar_t kValueNameMissing[] = L", The value to jump to could not be found in the registry.";
// , Regedit is in use by another instance of Hivescout. The jump to "<path>" will not be possible. ...
constexpr wchar_t kInUse[] = L", Regedit is in use by another instance of Hivescout. The jump to \"";
constexpr wchar_t kInUseEnd[] = L"\" will not be possible. Application is terminating";
constexpr wchar_t kSynchronisationUnavailable[] =
    L"(Error) Error occured during the initialisation of the Hivescout synchronisation data. This instance will "
    L"not be able to synchronise itself with other running Hivescout instances.";
constexpr wchar_t kSendingTermination[] = L", Sending command to terminate all other instances";

// The editor.
constexpr wchar_t kEditorEndedDuringJump[] = L", Regedit terminated unexpectedly before the jump could be completed.";
constexpr wchar_t kNoEditorWindow[] = L", Failed to find eligible Regedit window.";
constexpr wchar_t kRemoteAllocationFailed[] = L", Failed to allocate memory in regedit's address space.";
constexpr wchar_t kRemoteWriteFailed[] =
    L", Error occurred while writing in the regedit process memory. Error returned was : ";
constexpr wchar_t kRemoteReadFailed[] =
    L", Error occurred while reading the regedit process memory. Error returned was : ";
// An editor that showed no accepted window within the wait:
// , The regedit process <pid> (<file>) showed no eligible window within <ms> ms.
constexpr wchar_t kSilentEditor[] = L", The regedit process ";
constexpr wchar_t kSilentEditorNoWindow[] = L") showed no eligible window within ";
constexpr wchar_t kSilentEditorWaited[] = L" ms.";
// An editor whose window thread kept a message longer than the bound:
// , The regedit process <pid> (<file>) did not answer within <ms> ms.
constexpr wchar_t kEditorUnanswered[] = L") did not answer within ";
// and when it started a further editor and waits for it (Wine's 32-bit editor does):
// , The regedit process <pid> handed itself over to the <bits> bit regedit process <pid>
// (<file>) and shows no window of its own. <advice>
constexpr wchar_t kHandedOver[] = L" handed itself over to the ";
constexpr wchar_t kHandedOverTo[] = L" bit regedit process ";
constexpr wchar_t kHandedOverNoWindow[] = L") and shows no window of its own.";
constexpr wchar_t kHandedOverUse64[] =
    L" To use that editor, jump without the 32 bit switch (-32bit or -x86); a 32 bit Regedit cannot be shown this way.";
constexpr wchar_t kHandedOverUse32[] =
    L" To use that editor, jump with the 32 bit switch (-32bit or -x86) alone; a 64 bit Regedit cannot be shown this way.";
// , Could not launch regedit process (<command line>). The returned error message was: <system text>
constexpr wchar_t kLaunchFailed[] = L", Could not launch regedit process (";
constexpr wchar_t kLaunchFailedError[] = L"). The returned error message was: ";
// , Registry editing is disabled by policy: DisableRegistryTools is <n> in <root>\<key>, so no registry editor was started.
constexpr wchar_t kEditingDisabled[] = L", Registry editing is disabled by policy: ";
constexpr wchar_t kEditingDisabledIs[] = L" is ";
constexpr wchar_t kEditingDisabledIn[] = L" in ";
constexpr wchar_t kEditingDisabledEnd[] = L", so no registry editor was started.";
constexpr wchar_t kSystemRootFailed[] = L", Failed to extract the %systemroot% value. Returned error was: ";
// , There is a 64 bit version of <command> working at the moment and it prevents running a new
// 32 bit version of <command>. You can try ...
constexpr wchar_t kRunning64Bit[] = L", There is a 64 bit version of ";
constexpr wchar_t kRunning64BitBlocks[] = L" working at the moment and it prevents running a new 32 bit version of ";
constexpr wchar_t kRunning64BitAdvice[] =
    L". You can try the multiple instances switch (-MultipleInstances or -M), the 64 bit version of Regedit or close "
    L"all running 64 bit Regedits";
// , There is a 32 bit version of <command> working at the moment and it prevents ...
constexpr wchar_t kRunning32Bit[] = L", There is a 32 bit version of ";
constexpr wchar_t kRunning32BitBlocks[] =
    L" working at the moment and it prevents running a new 64 bit version of regedit. You can try the multiple "
    L"instances switch (-MultipleInstances or -M) or close all running 32 bit regedits' windows.";

// The path from the clipboard.
constexpr wchar_t kClipboardUnavailable[] = L", The clipboard could not be opened. Returned error was: ";
constexpr wchar_t kClipboardEmpty[] = L", The clipboard holds no text to take the path from.";
constexpr wchar_t kClipboardNotDelivered[] = L", The clipboard's owner did not deliver its text.";
constexpr wchar_t kClipboardNoPath[] = L", The clipboard text holds no registry path.";

// The log file: , Error occured during the opening of the log file<path>, <system text>
constexpr wchar_t kLogOpenFailed[] = L", Error occured during the opening of the log file";
constexpr wchar_t kLogOpenFailedError[] = L", ";
// In place of the system text when the file is a link (and so is not written):
// The file is a link to <target>. A log file is never written through a link; to log there, name the real path.
constexpr wchar_t kLogLink[] = L"The file is a link to ";
constexpr wchar_t kLogLinkUnknown[] = L"The file is a link or another reparse point whose target cannot be read";
// The file is reached through a link: it is <final path>. A log file is never ...
constexpr wchar_t kLogReachedThroughLink[] = L"The file is reached through a link: it is ";
// The file is a hard link: it has other links to the same data (<n> names in all). A log file is never ...
constexpr wchar_t kLogHardLink[] = L"The file is a hard link: it has other links to the same data (";
constexpr wchar_t kLogHardLinkNames[] = L" names in all)";
constexpr wchar_t kLogLinkRefused[] =
    L". A log file is never written through a link; to log there, name the real path.";

// The usage window's resources: , Failed to read L<n> resource Returned error was: <code>
constexpr wchar_t kResourceFindFailed[] = L", Failed to read L1 resource ";
constexpr wchar_t kResourceLoadFailed[] = L", Failed to read L2 resource ";
constexpr wchar_t kResourceLockFailed[] = L", Failed to read L3 resource ";
constexpr wchar_t kResourceError[] = L"Returned error was: ";

// The end of a failed run: the exit code, then one line per bit not reported where it arose.
constexpr wchar_t kErrorCode[] = L", Error code returned is: 0x";
constexpr wchar_t kUsageWindowFailed[] = L", Failed to create the Usage dialog window.";
constexpr wchar_t kEditorHandleFailed[] = L", Unable to open a process handle of regedit executable.";
constexpr wchar_t kEditorLaunchFailed[] = L", Error occured while trying to launch the Regedit.";
// , User did not specify a <kind> to jump to.
constexpr wchar_t kNoTarget[] = L", User did not specify a ";
constexpr wchar_t kNoTargetEnd[] = L" to jump to.";
constexpr wchar_t kCommunicationSetupFailed[] = L", Unable to acquire the handles needed to perform the jump. ";
constexpr wchar_t kEditorTerminated[] = L", Regedit was terminated before the jump was completed.";
constexpr wchar_t kUnhandledException[] = L"Unhandled exception was cought. Application is terminating.\n";

// The two lines of a copy ended by another copy's command, written without allocating,
// as ASCII: Process ID: <pid>,  Terminating ... instance.  /  Hivescout with process ID <pid> ended on: <time>
constexpr char kTerminatedPrefix[] = "Process ID: ";
constexpr char kTerminated[] = ",  Terminating Hivescout due to termination command from other Hivescout instance.\r\n";
constexpr char kTerminatedEndedProcess[] = "Hivescout with process ID ";
constexpr char kTerminatedEndedOn[] = " ended on: ";

}  // namespace text

}  // namespace hivescout
