#include "views/key_path.h"

namespace hivescout {

PreparedPath prepareJumpPath(std::wstring path, JumpKind kind) {
    PreparedPath prepared;
    const std::size_t end = path.find_last_not_of(L'\\') + 1;  // 0 for a path of backslashes only
    prepared.trailingBackslashes = path.substr(end);
    path.erase(end);
    switch (kind) {
    case JumpKind::Value: {
        const std::size_t lastSeparator = path.rfind(L'\\');
        if (lastSeparator != std::wstring::npos) {
            prepared.valueName = path.substr(lastSeparator + 1);
            path.erase(lastSeparator + 1);
        }
        // Without a name after the last backslash there is no value to look for.
        prepared.valueMissing = prepared.valueName.empty();
        break;
    }
    case JumpKind::Key: path.push_back(L'\\'); break;
    case JumpKind::KeyOrValue: break;
    }
    prepared.keys = std::move(path);
    return prepared;
}

std::optional<KeyLevel> KeyLevels::next() {
    if (finished_) return std::nullopt;
    const std::size_t separator = keys_.find(L'\\', position_);
    const bool isLast = separator == std::wstring_view::npos;
    if (isLast && kind_ != JumpKind::KeyOrValue) {
        finished_ = true;
        return std::nullopt;
    }
    KeyLevel level;
    level.name = keys_.substr(position_, isLast ? std::wstring_view::npos : separator - position_);
    level.rest = keys_.substr(position_);
    level.isLast = isLast;
    if (isLast)
        finished_ = true;
    else
        position_ = separator + 1;
    return level;
}

std::vector<std::wstring> valueNamesToLookFor(const PreparedPath& prepared, JumpKind kind,
                                              std::optional<std::wstring_view> missingRest) {
    std::vector<std::wstring> names;
    if (kind == JumpKind::Key || (kind == JumpKind::KeyOrValue && !missingRest)) return names;
    const std::wstring_view rest = missingRest.value_or(std::wstring_view());
    // The path's own reading.
    if (!missingRest)
        names.push_back(prepared.valueName);
    else if (kind == JumpKind::KeyOrValue && rest.find(L'\\') == std::wstring_view::npos)
        names.emplace_back(rest);
    // Then the rest as given, which may name a value whose name holds backslashes.
    const bool belowKey = rest.size() < prepared.keys.size();
    std::wstring restAsGiven = std::wstring(rest) + prepared.valueName + prepared.trailingBackslashes;
    if (belowKey && (names.empty() || names.front() != restAsGiven)) names.push_back(std::move(restAsGiven));
    return names;
}

}  // namespace hivescout
