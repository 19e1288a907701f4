#include "views/key_path.h"

namespace hivescout {

PreparedPath prepareJumpPath(std::wstring path, JumpKind kind) {
    PreparedPath prepared;
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
    case JumpKind::Key:
        path.push_back(L'\\');
        break;
    case JumpKind::KeyOrValue:
        break;
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

WalkEnd walkEndWhenMissing(JumpKind kind, bool isLastLevel) {
    return (kind == JumpKind::KeyOrValue && isLastLevel) ? WalkEnd::ValueWanted : WalkEnd::NotFound;
}

WalkFinish finishAfterWalk(WalkEnd end, JumpKind kind, const std::wstring& valueName) {
    switch (end) {
    case WalkEnd::NotFound:
        return WalkFinish::NotFound;
    case WalkEnd::ValueWanted:
        return WalkFinish::ValueSearch;
    case WalkEnd::Reached:
        break;
    }
    if (kind == JumpKind::Value) return WalkFinish::ValueSearch;
    if (kind == JumpKind::KeyOrValue && !valueName.empty()) return WalkFinish::ValueSearch;
    return WalkFinish::Key;
}

}  // namespace hivescout
