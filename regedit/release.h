#pragma once

namespace hivescout {

// Frees the remote blocks and closes the editor's handles; a second call does nothing.
void releaseRegedit();

// The same for the termination path: closes handles only, frees no memory.
void releaseRegeditWithoutFreeing() noexcept;

}  // namespace hivescout
