#pragma once
#include <windows.h>

#include <cstdint>

#include "base/handle.h"

namespace hivescout {

// The registry editor in use during a jump.
struct RegeditInstance {
    static constexpr std::uint32_t kNoProcess = 0xFFFFFFFFu;

    std::uint32_t processId = kNoProcess;
    HANDLE process = nullptr;        // the editor in use, owned below; null when not open
    UniqueHandle openedProcess;      // an editor opened by process ID
    UniqueHandle launchedProcess;    // both null unless this copy launched the editor
    UniqueHandle launchedThread;
    bool is32Bit = false;            // written only when an existing editor is adopted
};

}  // namespace hivescout
