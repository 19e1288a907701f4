#include "regedit/silent_editor.h"

#include "base/exit_flags.h"
#include "base/handle.h"
#include "base/report.h"
#include "base/report_encoding.h"
#include "base/report_texts.h"
#include "regedit/discovery.h"
#include "regedit/editor_windows.h"
#include "views/editor_messages.h"

namespace hivescout {

namespace {

std::wstring processPath(HANDLE process) {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    return process && ::QueryFullProcessImageNameW(process, 0, path, &length) ? std::wstring(path, length) : L"?";
}

// The first running process of the editor's name whose parent is the editor.
std::optional<SilentEditor::Successor> findSuccessor(std::uint32_t processId, const std::wstring& executableName) {
    for (const PROCESSENTRY32W& entry : processesNamed(executableName)) {
        if (entry.th32ParentProcessID != processId) continue;
        UniqueHandle successor(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID));
        if (successor)
            return SilentEditor::Successor{entry.th32ProcessID, processPath(successor.get()),
                                           isProcess32Bit(successor.get())};
    }
    return std::nullopt;
}

}  // namespace

SilentEditorVerdict judgeSilentEditor(const SilentEditor& editor, std::uint32_t waitedMs, bool use32BitRegedit,
                                      bool use64BitRegedit) {
    SilentEditorVerdict verdict;
    const std::wstring named = text::kSilentEditor + std::to_wstring(editor.processId);
    verdict.noWindowLine = named + L" (" + visibleInReport(editor.path) + text::kSilentEditorNoWindow +
                           std::to_wstring(waitedMs) + text::kSilentEditorWaited;
    verdict.bits = ExitFlags::NoEligibleWindow;
    if (!editor.successor) return verdict;

    const SilentEditor::Successor& successor = *editor.successor;
    verdict.handoverLine = named + text::kHandedOver + (successor.is32Bit ? L"32" : L"64") + text::kHandedOverTo +
                           std::to_wstring(successor.processId) + L" (" + visibleInReport(successor.path) +
                           text::kHandedOverNoWindow +
                           (successor.is32Bit ? text::kHandedOverUse32 : text::kHandedOverUse64);
    // The editor that came instead is of a bitness not asked for: the same situation as
    // finding it running, so the same conflict bit tells scripts what happened.
    if (!bitnessAccepted(successor.is32Bit, use32BitRegedit, use64BitRegedit))
        verdict.bits |=
            successor.is32Bit ? ExitFlags::Running32BitRegeditBlocks64 : ExitFlags::Running64BitRegeditBlocks32;
    return verdict;
}

std::uint32_t reportSilentEditor(std::uint32_t processId, HANDLE process, const std::wstring& executableName,
                                 bool use32BitRegedit, bool use64BitRegedit) {
    const SilentEditor editor{processId, processPath(process), findSuccessor(processId, executableName)};
    const SilentEditorVerdict verdict = judgeSilentEditor(editor, kWindowWaitMs, use32BitRegedit, use64BitRegedit);
    reportError(verdict.noWindowLine);
    if (!verdict.handoverLine.empty()) reportError(verdict.handoverLine);
    return verdict.bits;
}

void reportUnansweredEditor(std::uint32_t processId, HANDLE process) {
    reportError(text::kSilentEditor, processId, L" (", visibleInReport(processPath(process)), text::kEditorUnanswered,
                kEditorAnswerBoundMs, text::kSilentEditorWaited);
}

}  // namespace hivescout
