#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hivescout {

// What the jump path names: a key, a value, or whichever of the two it turns out to be.
enum class JumpKind : std::uint32_t { KeyOrValue = 0, Key = 1, Value = 2 };

// The target path split for the walk: the key names to follow and, for a value target,
// the value name taken off its end.
struct PreparedPath {
    std::wstring keys;                 // key names separated by backslashes
    std::wstring valueName;            // empty unless a value target named one
    bool valueMissing = false;         // a value target that names no value
    std::wstring trailingBackslashes;  // the path's own, which only a value's name can hold
};

// The trailing backslashes of the path as given are set apart first. Then a value target
// loses its last name (the backslash stays); a key target gains a trailing backslash; a
// key-or-value target is walked as it is.
PreparedPath prepareJumpPath(std::wstring path, JumpKind kind);

// One level of the walk.
struct KeyLevel {
    std::wstring_view name;  // the key name to look for among the current item's children
    std::wstring_view rest;  // the path from this name to the end (where no key has the
                             // name, the start of the value name looked for instead)
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

// The value names to look for, in this order, in the list of the key the walk left
// selected; none when the jump ends on the key reached, or as not found. missingRest is
// the path from the first key name that no key has to the end of the keys (a view into
// prepared.keys), or nothing when every key name matched. First the path's own reading:
// the name after its last backslash (a value target), or a last name that is no key (a
// key-or-value target). Then, since value names may hold backslashes (file and folder
// paths), the rest of the path as given from the first missing name on, its trailing
// backslashes included; only below a key that matched, and never for a key target.
std::vector<std::wstring> valueNamesToLookFor(const PreparedPath& prepared, JumpKind kind,
                                              std::optional<std::wstring_view> missingRest);

}  // namespace hivescout
