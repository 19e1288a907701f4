#pragma once
#include <windows.h>

#include <cstdint>

#include "base/handle.h"

namespace hivescout {

// The registry editor in use during a jump.
struct RegeditInstance {
    static constexpr std::uint32_t kNoProcess = 0xFFFFFFFFu;

    std::uint32_t processId = kNoProcess;
    // The editor in use, launched or opened by process ID; null when not open. The only
    // owner of its handle: the blocks inside the editor borrow it and end before it.
    UniqueHandle process;
    UniqueHandle launchedThread;  // null unless this copy launched the editor
    bool is32Bit = false;         // written only when an existing editor is adopted
};

// Whether the editor's process has ended.
inline bool editorHasEnded(const RegeditInstance& editor) noexcept { return processHasEnded(editor.process.get()); }

}  // namespace hivescout
