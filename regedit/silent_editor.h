#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace hivescout {

// An editor process that showed no accepted window within the wait, and the editor it
// handed itself over to: a running process of the same name that it started. Wine's
// 32-bit regedit.exe is such a stub: it starts the 64-bit editor and waits for it.
struct SilentEditor {
    struct Successor {
        std::uint32_t processId = 0;
        std::wstring path;
        bool is32Bit = false;
    };
    std::uint32_t processId = 0;
    std::wstring path;
    std::optional<Successor> successor;
};

// The lines (without the process ID prefix) and the bits for a silent editor: always
// the no-window line and NoEligibleWindow; after a hand-over also its line, and the bitness
// conflict that a successor of a bitness not asked for amounts to
// (Running64BitRegeditBlocks32 or Running32BitRegeditBlocks64).
struct SilentEditorVerdict {
    std::wstring noWindowLine;
    std::wstring handoverLine;  // empty without a hand-over
    std::uint32_t bits = 0;
};
SilentEditorVerdict judgeSilentEditor(const SilentEditor& editor, std::uint32_t waitedMs, bool use32BitRegedit,
                                      bool use64BitRegedit);

// Looks the editor and its successor up, reports the verdict's lines and returns its bits.
std::uint32_t reportSilentEditor(std::uint32_t processId, HANDLE process, const std::wstring& executableName,
                                 bool use32BitRegedit, bool use64BitRegedit);

// The error line for an editor that kept a message unanswered longer than the bound.
void reportUnansweredEditor(std::uint32_t processId, HANDLE process);

}  // namespace hivescout
