#pragma once
#include <cstdint>
#include <string>

// The whole jump: choose or launch an editor, find its views, take its lock, walk the
// tree and release everything. Returns the jump's result bits.
std::uint32_t jumpToPath(const std::wstring& jumpPath, std::wstring regeditCommand,
                         const std::wstring* regeditDirectory);
