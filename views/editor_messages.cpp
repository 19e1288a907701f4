#include "views/editor_messages.h"

#include "base/exit_flags.h"

namespace hivescout {

std::optional<LRESULT> EditorMessenger::send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (unanswered_) return std::nullopt;
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kEditorAnswerBoundMs, &answer))
        return static_cast<LRESULT>(answer);
    // An editor that ended while it handled the message answers zero, as it always did;
    // only the bound passing means that its thread is still busy with the message.
    if (::GetLastError() != ERROR_TIMEOUT) return 0;
    unanswered_ = window;
    return std::nullopt;
}

// A show or hide sent to another thread waits for it; the asynchronous form is queued
// behind the messages sent before it.
void EditorMessenger::show(HWND window, int command) const {
    if (!unanswered_) ::ShowWindowAsync(window, command);
}

std::uint32_t unansweredFlags(bool treeMessage) {
    return ExitFlags::KeyNotFound | (treeMessage ? ExitFlags::TreeItemReadFailed : ExitFlags::ListRowReadFailed);
}

}  // namespace hivescout
