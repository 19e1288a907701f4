# The usage document, rendered by cmake/make_usage.cmake into the rich text and the plain text.
#
# usage_paragraph(KIND TEXT) adds one paragraph. Kinds: title, purpose, heading1, heading2,
# subheading, syntax, text, example, console, bullet.
# usage_switch(NAME DESCRIPTION DEFAULT) adds a switch name and its description, with the
# default in bold.
# usage_exit_code(VALUE MEANING) adds one line of the exit code table.
#
# %HIVESCOUT% stands for the program's name: the plain text keeps it as it is, the rich text
# shows Hivescout.exe there, which the program replaces with its real file name.
# Text must be printable ASCII. A backslash at the end of a line continues the text on the
# next line, from its first column. ${HIVESCOUT_VERSION} is the program's version.

usage_paragraph(title "Hivescout v${HIVESCOUT_VERSION}")
usage_paragraph(purpose "Hivescout makes the registry editor (regedit.exe) show a registry key or \
value given on its command line: it finds a running registry editor that it may use, or starts \
one, expands the editor's key tree down to the key, selects the key or the value and brings the \
editor's window to the front.")
usage_paragraph(heading1 "Application usage information:")
usage_paragraph(heading2 "Usage syntax:")
usage_paragraph(syntax "%HIVESCOUT% <switches list>")
usage_paragraph(text "Switches and parameters are not case sensitive.")
usage_paragraph(heading2 "Command line switches and parameters in alphabetical order:")
usage_switch("/?, ?, -help, --help"
  "Shows this usage information instead of jumping. -LogToFile and -AppendLog still apply (the \
start and end lines go to the log file); every other switch and any path are ignored. "
  "Default: off; the usage information also shows when no argument is given.")
usage_switch("-AppendLog"
  "Appends the report to the log file given by -LogToFile instead of emptying the file first. "
  "Default: the log file is emptied.")
usage_switch("-Clipboard"
  "Takes the path from the text on the clipboard (its first line that is not empty), in any of \
the copied forms listed under Additional information, as a key or a value like -JumpTo. A jump \
switch given as well wins. When the clipboard holds no text or no path, no registry editor is \
touched and the exit code is 16. "
  "Default: off.")
usage_switch("-JumpTo=<key or value path>"
  "The registry key or value to show; Hivescout finds out which of the two the path names. Blanks \
at the end of the path are kept, since key and value names may end in blanks. A short root name \
(HKLM, HKCU, HKCC, HKCR, HKU) is expanded to its long form. The path may also be given as other \
tools copy it (see Additional information). "
  "Default: none.")
usage_switch("-JumpToKey=<key path>"
  "The registry key to show. Wins over -JumpTo when both are given. "
  "Default: none.")
usage_switch("-JumpToValue=<value path>"
  "The registry value to show: the last name of the path is the value's name, the rest is its \
key. A value whose name holds backslashes, such as a file or folder path, is found too (see \
Additional information). Wins over -JumpToKey and -JumpTo when they are given too. "
  "Default: none.")
usage_switch("-LogToFile=<log file path>"
  "Writes the whole report (ordinary and error lines) to the given file instead of the standard \
output and standard error. "
  "Default: report on the standard output and standard error.")
usage_switch("-TerminateIfOtherInstanceIsBlocking, -tb"
  "Ends at once with an error when another running copy of Hivescout is using the registry \
editor, instead of waiting for it. "
  "Default: wait for the time given by -WaitTimeout.")
usage_switch("-TerminateOtherWaitingInstances, -tw"
  "Ends every other copy of Hivescout that is using, or waiting to use, the same registry editor \
before this copy jumps. "
  "Default: other copies are left alone.")
usage_switch("-Use32BitRegedit, -32bit, -x86"
  "Uses only a 32-bit registry editor (started from the syswow64 directory). A 32-bit editor \
that hands itself over to a 64-bit one and shows no window of its own (Wine's does) is named \
in an error line after 5 seconds, with the exit code 131076 (131072 + 4); jump without this \
switch to use the 64-bit editor it started. "
  "Default: only a 64-bit registry editor is used.")
usage_switch("-Use64BitRegedit, -64bit, -x64"
  "Uses only a 64-bit registry editor. Given together with a 32-bit switch, editors of either \
bitness are used. "
  "Default: on.")
usage_switch("-UseMultipleInstancesOfRegedit, -m"
  "Always starts a new registry editor (regedit.exe -m) instead of using one that runs. "
  "Default: a running registry editor is used when there is one.")
usage_switch("-WaitTimeout=<milliseconds>"
  "How long to wait for a registry editor that another copy of Hivescout is using. A value that \
is not a number, or no value, gives 0. "
  "Default: 3000.")
usage_paragraph(switch "<key or value path>   (without any switch)")
usage_paragraph(text "When no known switch is given, all the words of the command line together, \
joined by single blanks, are the path to jump to, as with -JumpTo. Once a known switch is given, \
words that are not switches are ignored.")
usage_paragraph(switch "(empty command line)")
usage_paragraph(text "Without any word on the command line, this usage information is shown.")
usage_paragraph(heading2 "Usage examples:")
usage_paragraph(text "Jump to a key, with a short root name:")
usage_paragraph(example "%HIVESCOUT% HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion")
usage_paragraph(text "Jump to a key, with a long root name:")
usage_paragraph(example
  "%HIVESCOUT% HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run")
usage_paragraph(text "Jump to a key or value given by -JumpTo (quotes keep the blank in the path):")
usage_paragraph(example "%HIVESCOUT% -JumpTo=\"HKCU\\Control Panel\\Desktop\"")
usage_paragraph(text "Jump to a key only:")
usage_paragraph(example "%HIVESCOUT% -JumpToKey=HKLM\\SYSTEM\\CurrentControlSet\\Services")
usage_paragraph(text "Jump to a value only:")
usage_paragraph(example "%HIVESCOUT% -JumpToValue=\"HKCU\\Control Panel\\Desktop\\Wallpaper\"")
usage_paragraph(text "Jump to a path when you do not know whether it names a key or a value:")
usage_paragraph(example
  "%HIVESCOUT% -JumpTo=\"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\CurrentBuild\"")
usage_paragraph(heading2 "Additional information:")
usage_paragraph(subheading "Paths as other tools copy them:")
usage_paragraph(text "Each of these forms is rewritten to the plain form (the long root name, \
then the key names) before the jump, and the report lines show the plain form:")
usage_paragraph(bullet "The registry editor's address bar or a status bar, with the computer's \
name in any language first: Computer\\HKEY_CURRENT_USER\\Software.")
usage_paragraph(bullet "PowerShell drives: HKCU:\\Software, HKLM:\\SOFTWARE\\Microsoft.")
usage_paragraph(bullet "PowerShell provider paths: Registry::HKEY_CURRENT_USER\\Software, \
Microsoft.PowerShell.Core\\Registry::HKCU\\Software.")
usage_paragraph(bullet ".reg file lines: [HKEY_CURRENT_USER\\Software\\App], \
[-HKEY_CURRENT_USER\\Software\\Old].")
usage_paragraph(bullet "Kernel and event-trace paths: \\REGISTRY\\MACHINE\\SOFTWARE \
(HKEY_LOCAL_MACHINE), \\Registry\\User\\S-1-5-18 (HKEY_USERS).")
usage_paragraph(bullet "Pasted text: double quotes around the path and a line end after it are \
dropped.")
usage_paragraph(text "Prefixes and root names are matched without regard to the case of A to Z. A \
forward slash is part of a key name, never a separator, and blanks at the end stay.")
usage_paragraph(subheading "Values named like paths:")
usage_paragraph(text "Many values are named after a file or a folder, with backslashes in their \
names (C:\\Program Files\\App\\app.exe under ...\\AppCompatFlags\\Layers, \
C:\\Program Files\\App\\ under ...\\Installer\\Folders). With -JumpTo, -JumpToValue, \
-Clipboard or a path without switch, when a name of the path is not a subkey of the key before \
it, the rest of the path from that name to its end, backslashes included, is looked for as a \
value's name in that key: \"-JumpToValue=HKCU\\...\\Layers\\C:\\Program \
Files\\App\\app.exe\" selects the value C:\\Program Files\\App\\app.exe in Layers. A \
backslash at the end of the path belongs to that name; in quotes it is written twice before the \
closing quote (\"...\\App\\\\\"). A key still wins over a value, and when no such value \
exists either, the report is the usual one for a path that is not found.")
usage_paragraph(subheading "Which registry editor is used:")
usage_paragraph(bullet "Hivescout uses a running registry editor of the wanted bitness (64-bit \
unless -Use32BitRegedit is given) that no other copy of Hivescout is using.")
usage_paragraph(bullet "When there is none, or -UseMultipleInstancesOfRegedit is given, it starts \
a new registry editor and waits up to 5 seconds for its window.")
usage_paragraph(bullet "A running registry editor of the other bitness prevents starting the one \
that is needed (error codes 65536 and 131072).")
usage_paragraph(bullet "Where a policy disables registry editing (the value DisableRegistryTools \
set to 1 or 2 under Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System in \
HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE), no registry editor is started: an error line names \
the value and where it is set, and the exit code is 8. A running registry editor is still \
used.")
usage_paragraph(subheading "Synchronisation between running copies:")
usage_paragraph(bullet "Only one copy of Hivescout drives a registry editor at a time. A copy \
waits for the time given by -WaitTimeout, or ends at once with \
-TerminateIfOtherInstanceIsBlocking.")
usage_paragraph(bullet "A copy started with -TerminateOtherWaitingInstances ends the other copies \
that use or wait for the same registry editor; they end with error code 67108864.")
usage_paragraph(subheading "The registry editor's window:")
usage_paragraph(bullet "The key tree is expanded down to the key, the key (or the value in the \
list) is selected, and the window is restored when minimised and brought to the front.")
usage_paragraph(bullet "When a key is missing, the deepest key that was found stays selected.")
usage_paragraph(subheading "Text output:")
usage_paragraph(bullet "Hivescout has no console window. It writes its report lines to the \
standard output and the standard error, or with -LogToFile to a file. Every line carries the \
process ID; error lines begin with (Error).")
usage_paragraph(subheading "How to see the output from a console:")
usage_paragraph(text "The report of the jump only:")
usage_paragraph(console "%HIVESCOUT% HKCU\\Software | more")
usage_paragraph(text "The report and the error lines:")
usage_paragraph(console "%HIVESCOUT% HKCU\\Software 2>&1 | more")
usage_paragraph(subheading "Error codes returned :")
usage_paragraph(text "The exit code is 0 on success; otherwise it is the sum of the following \
values:")
usage_exit_code(1 "No eligible working registry editor was found.")
usage_exit_code(2 "The registry editor's process could not be opened.")
usage_exit_code(4 "No eligible registry editor window was found within 5 seconds; an error line \
names the editor's process.")
usage_exit_code(8 "Starting the registry editor failed, or a policy disables registry editing.")
usage_exit_code(16 "No key to jump to was given, or -Clipboard found no path on the clipboard.")
usage_exit_code(32 "Setting up the communication with the registry editor failed.")
usage_exit_code(64 "Writing a tree item into the registry editor failed (always with 1024).")
usage_exit_code(128 "Reading a tree item text from the registry editor failed (always with 1024).")
usage_exit_code(256 "Writing a list item into the registry editor failed (always with 1024).")
usage_exit_code(512 "Reading a list row text from the registry editor failed (always with 1024).")
usage_exit_code(1024 "The key or value was not found in the registry editor.")
usage_exit_code(2048 "Another copy of Hivescout is using the registry editor.")
usage_exit_code(16384 "The usage window could not be created.")
usage_exit_code(32768 "A 64-bit registry editor cannot be used by this build.")
usage_exit_code(65536 "A running 32-bit registry editor prevents starting the 64-bit one.")
usage_exit_code(131072 "A running 64-bit registry editor prevents starting the 32-bit one.")
usage_exit_code(262144 "The value to jump to does not exist.")
usage_exit_code(524288 "No value to jump to was given.")
usage_exit_code(1048576 "A resource of the program could not be read.")
usage_exit_code(33554432 "The registry editor ended before the jump was completed.")
usage_exit_code(67108864 "This copy was ended by another copy of Hivescout (-TerminateOtherWaitingInstances).")
