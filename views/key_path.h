#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hivescout {

// What the jump path names: a key, a value, or whichever of the two it turns out to be.
enum class JumpKind : std::uint32_t { KeyOrValue = 0, Key = 1, Value = 2 };

// The target path split for the walk: the key names to follow and, for a value target,
// the value name taken off its end.
struct PreparedPath {
    std::wstring keys;       // key names separated by backslashes
    std::wstring valueName;  // empty unless a value target named one
    bool valueMissing = false;  // a value target that names no value
};

// A value target loses its last name (the backslash stays); a key target gains a
// trailing backslash; a key-or-value target is walked as it is.
PreparedPath prepareJumpPath(std::wstring path, JumpKind kind);

// One level of the walk.
struct KeyLevel {
    std::wstring_view name;  // the key name to look for among the current item's children
    std::wstring_view rest;  // the path from this name to the end (the value name a
                             // key-or-value target wants when its last key is missing)
    bool isLast = false;     // no backslash follows this name
};

// Hands out the key names one level at a time. For key and value targets the path ends
// in a backslash, and the empty name after it means the walk has reached its target.
class KeyLevels {
public:
    KeyLevels(const std::wstring& keys, JumpKind kind) : keys_(keys), kind_(kind) {}

    // The next level, or nothing when the target key is reached.
    std::optional<KeyLevel> next();

private:
    std::wstring_view keys_;
    JumpKind kind_;
    std::size_t position_ = 0;
    bool finished_ = false;
};

enum class WalkEnd { Reached, ValueWanted, NotFound };

// When a level's name is missing: a key-or-value target whose last name is not a key
// may still name a value; everything else was not found.
WalkEnd walkEndWhenMissing(JumpKind kind, bool isLastLevel);

enum class WalkFinish { Key, ValueSearch, NotFound };

// What follows the walk. valueName is the one left after the walk (a key-or-value
// target clears it when its last name matched a key, since a key wins over a value).
WalkFinish finishAfterWalk(WalkEnd end, JumpKind kind, const std::wstring& valueName);

}  // namespace hivescout
