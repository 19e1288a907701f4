#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

namespace hivescout {

// How long the editor's window thread may take to answer one message. An editor that is
// only slow is still waited for: the slowest answer measured in an editor with the Windows
// layout, the expansion of a key with 60,000 subkeys, took it 11 s on a busy machine.
constexpr DWORD kEditorAnswerBoundMs = 20000;

// Every message to the editor's windows goes through here, and no call waits for the
// editor's thread longer than the bound. Once a message got no answer, that thread is
// still busy with it: nothing more is sent or shown.
class EditorMessenger {
public:
    // The answer, or none when it did not come within the bound (or an earlier one did not).
    std::optional<LRESULT> send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Hides or shows a window of the editor without waiting for its thread.
    void show(HWND window, int command) const;

    // The window whose message got no answer; null while every message was answered.
    HWND unanswered() const noexcept { return unanswered_; }

private:
    HWND unanswered_ = nullptr;
};

// The result bits of a jump whose message to the tree (or else to the list or its header)
// got no answer.
std::uint32_t unansweredFlags(bool treeMessage);

}  // namespace hivescout
