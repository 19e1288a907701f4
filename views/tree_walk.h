#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/report_texts.h"
#include "views/key_path.h"
#include "views/record_layout.h"
#include "views/remote_buffers.h"
#include "views/view_finder.h"

namespace hivescout {

// What a jump ends with.
struct JumpOutcome {
    std::uint32_t flags = 0;                          // the result bits
    const wchar_t* kindWord = text::kKindKeyOrValue;  // what the target is, once the walk knows
    std::wstring passedPath;                          // the tree items (and value) matched
};

// The walk's outcome, and whether it chose a value row, whose list then awaits the input
// a user's choice would bring (once the editor's window is shown).
struct WalkOutcome {
    JumpOutcome jump;
    bool rowChosen = false;
};

// The report word for what a jump path names: "key", "value" or "key/value".
const wchar_t* kindWordFor(JumpKind kind);

// Walks the tree to the target and selects the key or value. The target path is as given
// but normalised: the backslashes it ended with may end a value's name. The records are
// laid out for the editor's bitness.
WalkOutcome jumpInRegeditViews(std::wstring targetPath, const RegeditViews& views, JumpKind kind, RecordLayout layout,
                               RemoteBuffers& buffers);

}  // namespace hivescout
