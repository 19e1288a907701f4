#!/usr/bin/env python3
"""Writes the usage document in its two stored forms from one description.

    python3 tools/make_usage.py OUTPUT_DIR

OUTPUT_DIR receives:
  usage_rich.rtf   8-bit RTF (code page 1251), ending in CR LF and one NUL byte
  usage_plain.txt  UTF-16 LE with a byte-order mark, tab indents, CR LF, no NUL

Both hold the same paragraphs in the same order. The program's name stands in nine
places (the syntax line, six examples, two console examples): "Hivescout.exe" in the
rich text, where the program puts its real file name, and "%HIVESCOUT%" in the plain text.
"""
import os
import sys

RICH_NAME = "Hivescout.exe"
PLAIN_NAME = "%HIVESCOUT%"
NAME = "\x00"  # stands for the program's name until a rendering fills it in

# Each paragraph is (kind, runs). A run is plain text, or ("b", text) for bold.
# Kinds: title, purpose, heading1, heading2, subheading, syntax, switch, text,
# example, console, bullet, exitcode.


def document():
    doc = []

    def add(kind, *runs):
        doc.append((kind, list(runs)))

    add("title", "Hivescout v1.0")
    add("purpose",
        "Hivescout makes the registry editor (regedit.exe) show a registry key or value "
        "given on its command line: it finds a running registry editor that it may use, "
        "or starts one, expands the editor's key tree down to the key, selects the key "
        "or the value and brings the editor's window to the front.")

    add("heading1", "Application usage information:")
    add("heading2", "Usage syntax:")
    add("syntax", NAME + " <switches list>")
    add("text", "Switches and parameters are not case sensitive.")

    add("heading2", "Command line switches and parameters in alphabetical order:")
    switches = [
        ("/?, ?, -help, --help",
         ["Shows this usage information instead of jumping. -LogToFile and -AppendLog still apply "
          "(the start and end lines go to the log file); every other switch and any path are ignored. ",
          ("b", "Default: off; the usage information also shows when no argument is given.")]),
        ("-AppendLog",
         ["Appends the report to the log file given by -LogToFile instead of emptying the file first. ",
          ("b", "Default: the log file is emptied.")]),
        ("-Clipboard",
         ["Takes the path from the text on the clipboard (its first line that is not empty), in "
          "any of the copied forms listed under Additional information, as a key or a value like "
          "-JumpTo. A jump switch given as well wins. When the clipboard holds no text or no path, "
          "no registry editor is touched and the exit code is 16. ",
          ("b", "Default: off.")]),
        ("-JumpTo=<key or value path>",
         ["The registry key or value to show; Hivescout finds out which of the two the path names. "
          "Blanks at the end of the path are kept, since key and value names may end in blanks. "
          "A short root name (HKLM, HKCU, HKCC, HKCR, HKU) is expanded to its long form. The path "
          "may also be given as other tools copy it (see Additional information). ",
          ("b", "Default: none.")]),
        ("-JumpToKey=<key path>",
         ["The registry key to show. Wins over -JumpTo when both are given. ",
          ("b", "Default: none.")]),
        ("-JumpToValue=<value path>",
         ["The registry value to show: the last name of the path is the value's name, the rest is "
          "its key. Wins over -JumpToKey and -JumpTo when they are given too. ",
          ("b", "Default: none.")]),
        ("-LogToFile=<log file path>",
         ["Writes the whole report (ordinary and error lines) to the given file instead of the "
          "standard output and standard error. ",
          ("b", "Default: report on the standard output and standard error.")]),
        ("-TerminateIfOtherInstanceIsBlocking, -tb",
         ["Ends at once with an error when another running copy of Hivescout is using the "
          "registry editor, instead of waiting for it. ",
          ("b", "Default: wait for the time given by -WaitTimeout.")]),
        ("-TerminateOtherWaitingInstances, -tw",
         ["Ends every other copy of Hivescout that is using, or waiting to use, the same registry "
          "editor before this copy jumps. ",
          ("b", "Default: other copies are left alone.")]),
        ("-Use32BitRegedit, -32bit, -x86",
         ["Uses only a 32-bit registry editor (started from the syswow64 directory). ",
          ("b", "Default: only a 64-bit registry editor is used.")]),
        ("-Use64BitRegedit, -64bit, -x64",
         ["Uses only a 64-bit registry editor. Given together with a 32-bit switch, editors of "
          "either bitness are used. ",
          ("b", "Default: on.")]),
        ("-UseMultipleInstancesOfRegedit, -m",
         ["Always starts a new registry editor (regedit.exe -m) instead of using one that runs. ",
          ("b", "Default: a running registry editor is used when there is one.")]),
        ("-WaitTimeout=<milliseconds>",
         ["How long to wait for a registry editor that another copy of Hivescout is using. "
          "A value that is not a number, or no value, gives 0. ",
          ("b", "Default: 3000.")]),
    ]
    for name, description in switches:
        add("switch", name)
        add("text", *description)
    add("switch", "<key or value path>   (without any switch)")
    add("text",
        "When no known switch is given, all the words of the command line together, joined by "
        "single blanks, are the path to jump to, as with -JumpTo. Once a known switch is given, "
        "words that are not switches are ignored.")
    add("switch", "(empty command line)")
    add("text", "Without any word on the command line, this usage information is shown.")

    add("heading2", "Usage examples:")
    examples = [
        ("Jump to a key, with a short root name:",
         NAME + " HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion"),
        ("Jump to a key, with a long root name:",
         NAME + " HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
        ("Jump to a key or value given by -JumpTo (quotes keep the blank in the path):",
         NAME + " -JumpTo=\"HKCU\\Control Panel\\Desktop\""),
        ("Jump to a key only:",
         NAME + " -JumpToKey=HKLM\\SYSTEM\\CurrentControlSet\\Services"),
        ("Jump to a value only:",
         NAME + " -JumpToValue=\"HKCU\\Control Panel\\Desktop\\Wallpaper\""),
        ("Jump to a path when you do not know whether it names a key or a value:",
         NAME + " -JumpTo=\"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\CurrentBuild\""),
    ]
    for description, command in examples:
        add("text", description)
        add("example", command)

    add("heading2", "Additional information:")
    add("subheading", "Paths as other tools copy them:")
    add("text", "Each of these forms is rewritten to the plain form (the long root name, then the "
                "key names) before the jump, and the report lines show the plain form:")
    add("bullet", "The registry editor's address bar or a status bar, with the computer's name in "
                  "any language first: Computer\\HKEY_CURRENT_USER\\Software.")
    add("bullet", "PowerShell drives: HKCU:\\Software, HKLM:\\SOFTWARE\\Microsoft.")
    add("bullet", "PowerShell provider paths: Registry::HKEY_CURRENT_USER\\Software, "
                  "Microsoft.PowerShell.Core\\Registry::HKCU\\Software.")
    add("bullet", ".reg file lines: [HKEY_CURRENT_USER\\Software\\App], "
                  "[-HKEY_CURRENT_USER\\Software\\Old].")
    add("bullet", "Kernel and event-trace paths: \\REGISTRY\\MACHINE\\SOFTWARE (HKEY_LOCAL_MACHINE), "
                  "\\Registry\\User\\S-1-5-18 (HKEY_USERS).")
    add("bullet", "Pasted text: double quotes around the path and a line end after it are dropped.")
    add("text", "Prefixes and root names are matched without regard to the case of A to Z. A forward "
                "slash is part of a key name, never a separator, and blanks at the end stay.")
    add("subheading", "Which registry editor is used:")
    add("bullet", "Hivescout uses a running registry editor of the wanted bitness (64-bit unless "
                  "-Use32BitRegedit is given) that no other copy of Hivescout is using.")
    add("bullet", "When there is none, or -UseMultipleInstancesOfRegedit is given, it starts a new "
                  "registry editor and waits up to 5 seconds for its window.")
    add("bullet", "A running registry editor of the other bitness prevents starting the one that "
                  "is needed (error codes 65536 and 131072).")
    add("subheading", "Synchronisation between running copies:")
    add("bullet", "Only one copy of Hivescout drives a registry editor at a time. A copy waits for "
                  "the time given by -WaitTimeout, or ends at once with -TerminateIfOtherInstanceIsBlocking.")
    add("bullet", "A copy started with -TerminateOtherWaitingInstances ends the other copies that "
                  "use or wait for the same registry editor; they end with error code 67108864.")
    add("subheading", "The registry editor's window:")
    add("bullet", "The key tree is expanded down to the key, the key (or the value in the list) is "
                  "selected, and the window is restored when minimised and brought to the front.")
    add("bullet", "When a key is missing, the deepest key that was found stays selected.")
    add("subheading", "Text output:")
    add("bullet", "Hivescout has no console window. It writes its report lines to the standard "
                  "output and the standard error, or with -LogToFile to a file. Every line carries "
                  "the process ID; error lines begin with (Error).")
    add("subheading", "How to see the output from a console:")
    add("text", "The report of the jump only:")
    add("console", NAME + " HKCU\\Software | more")
    add("text", "The report and the error lines:")
    add("console", NAME + " HKCU\\Software 2>&1 | more")
    add("subheading", "Error codes returned :")
    add("text", "The exit code is 0 on success; otherwise it is the sum of the following values:")
    exit_codes = [
        (1, "No eligible working registry editor was found."),
        (2, "The registry editor's process could not be opened."),
        (4, "No eligible registry editor window was found."),
        (8, "Starting the registry editor failed."),
        (16, "No key to jump to was given, or -Clipboard found no path on the clipboard."),
        (32, "Setting up the communication with the registry editor failed."),
        (64, "Writing a tree item into the registry editor failed (always with 1024)."),
        (128, "Reading a tree item text from the registry editor failed (always with 1024)."),
        (256, "Writing a list item into the registry editor failed (always with 1024)."),
        (512, "Reading a list row text from the registry editor failed (always with 1024)."),
        (1024, "The key or value was not found in the registry editor."),
        (2048, "Another copy of Hivescout is using the registry editor."),
        (16384, "The usage window could not be created."),
        (32768, "A 64-bit registry editor cannot be used by this build."),
        (65536, "A running 32-bit registry editor prevents starting the 64-bit one."),
        (131072, "A running 64-bit registry editor prevents starting the 32-bit one."),
        (262144, "The value to jump to does not exist."),
        (524288, "No value to jump to was given."),
        (1048576, "A resource of the program could not be read."),
        (33554432, "The registry editor ended before the jump was completed."),
        (67108864, "This copy was ended by another copy of Hivescout (-TerminateOtherWaitingInstances)."),
    ]
    for value, meaning in exit_codes:
        add("exitcode", str(value), meaning)
    return doc


# ---- rich text -------------------------------------------------------------------

RTF_HEADER = ("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1033"
              "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
              "{\\colortbl ;\\red0\\green80\\blue219;}\r\n"
              "\\viewkind4\\uc1\r\n")

# Paragraph formatting and the character formatting that the whole paragraph starts with.
RTF_PARAGRAPH = {
    "title": ("\\li0", "\\b\\fs28"),
    "purpose": ("\\li0\\sa120", "\\fs24"),
    "heading1": ("\\li0\\sb240\\sa120", "\\cf1\\b\\fs28"),
    "heading2": ("\\li720\\sb240\\sa60", "\\cf1\\b\\fs24"),
    "subheading": ("\\li1080\\sb120\\sa60", "\\b\\i\\fs24"),
    "syntax": ("\\li1710\\sa60", "\\fs24"),
    "switch": ("\\li1170\\sb120", "\\b\\fs24"),
    "text": ("\\li1710", "\\fs24"),
    "example": ("\\li1710\\fi360\\sa120", "\\i\\fs24"),
    "console": ("\\li2070\\sa60", "\\i\\fs24"),
    "bullet": ("\\fi-360\\li1440\\tx1440", "\\fs24"),
    "exitcode": ("\\li3240\\fi-1260\\tx3240", "\\fs24"),
}


def rtf_escape(text):
    out = []
    for ch in text:
        if ch == NAME:
            out.append(RICH_NAME)
        elif ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 0x80:
            out.append(ch)
        else:
            raise ValueError("non-ASCII text in the usage document: %r" % ch)
    return "".join(out)


def rtf_runs(runs):
    out = []
    for run in runs:
        if isinstance(run, tuple):
            out.append("{\\b " + rtf_escape(run[1]) + "}")
        else:
            out.append(rtf_escape(run))
    return "".join(out)


def rich_text(doc):
    lines = [RTF_HEADER]
    for kind, runs in doc:
        paragraph, character = RTF_PARAGRAPH[kind]
        prefix = "\\pard" + paragraph + "\\sl240\\slmult1\\plain\\f0" + character + " "
        if kind == "bullet":
            # \bullet rather than the Symbol font's 0xB7: systems without that font
            # (Wine among them) show a box for it, every reader knows \bullet.
            body = "\\bullet\\tab " + rtf_runs(runs)
        elif kind == "exitcode":
            body = rtf_escape(runs[0]) + "\\tab " + rtf_escape(runs[1])
        else:
            body = rtf_runs(runs)
        lines.append(prefix + body + "\\par\r\n")
    lines.append("}\r\n")
    return "".join(lines).encode("cp1251") + b"\x00"


# ---- plain text ------------------------------------------------------------------

PLAIN_TABS = {
    "title": 0, "purpose": 0, "heading1": 0, "heading2": 0, "subheading": 1, "syntax": 2,
    "switch": 1, "text": 2, "example": 3, "console": 4, "bullet": 2, "exitcode": 2,
}
BLANK_LINE_BEFORE = {"heading1", "heading2", "subheading", "switch", "purpose"}


def plain_runs(runs):
    return "".join(run[1] if isinstance(run, tuple) else run for run in runs).replace(NAME, PLAIN_NAME)


def plain_text(doc):
    lines = []
    for kind, runs in doc:
        if kind in BLANK_LINE_BEFORE and lines:
            lines.append("")
        if kind == "bullet":
            body = "\u2022 " + plain_runs(runs)
        elif kind == "exitcode":
            body = runs[0] + "\t" + runs[1]
        else:
            body = plain_runs(runs)
        lines.append("\t" * PLAIN_TABS[kind] + body)
        if kind == "example":
            lines.append("")
    text = "\ufeff" + "\r\n".join(lines) + "\r\n"
    return text.encode("utf-16-le")


def write_if_changed(path, data):
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as output:
        output.write(data)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_usage.py OUTPUT_DIR\n")
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    doc = document()
    write_if_changed(os.path.join(out_dir, "usage_rich.rtf"), rich_text(doc))
    write_if_changed(os.path.join(out_dir, "usage_plain.txt"), plain_text(doc))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
