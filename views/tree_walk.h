#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "views/key_path.h"
#include "views/record_layout.h"
#include "views/view_finder.h"

namespace hivescout {

// Walks the tree to the target and selects the key or value. The records are laid out
// for the editor's bitness. Returns the walk's bits.
std::uint32_t jumpInRegeditViews(std::wstring targetPath, const RegeditViews& views, JumpKind kind,
                                 RecordLayout layout);

}  // namespace hivescout
