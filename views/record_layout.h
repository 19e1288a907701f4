#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace hivescout {

// The item records are copied byte for byte into the editor, so they must be laid out
// for the editor's bitness, not for ours.
enum class RecordLayout { Bits64, Bits32 };

// A 32-bit layout is needed exactly when the driven editor is a 32-bit process: either
// one was asked for, or an adopted editor turned out to be one and no bitness was asked.
RecordLayout chooseRecordLayout(bool use32BitRegedit, bool use64BitRegedit, bool editorIs32Bit);

constexpr std::size_t kTreeItemRecordSize = 80;
constexpr std::size_t kListItemRecordSize = 72;

// The tree item record asking for an item's text: mask, hItem, pszText, cchTextMax.
class TreeItemRecord {
public:
    TreeItemRecord(RecordLayout layout, std::uint64_t remoteText);

    // Only the item changes between queries.
    void setItem(std::uint64_t item);

    const std::array<std::uint8_t, kTreeItemRecordSize>& bytes() const { return bytes_; }

private:
    RecordLayout layout_;
    std::array<std::uint8_t, kTreeItemRecordSize> bytes_{};
};

// The list item record, as a text query or as a state change of one row.
class ListItemRecord {
public:
    static ListItemRecord textQuery(RecordLayout layout, std::uint64_t remoteText);
    static ListItemRecord stateChange(RecordLayout layout, std::int32_t row);

    // Only the row (and its sub-item, always 0) changes between queries.
    void setRow(std::int32_t row);

    const std::array<std::uint8_t, kListItemRecordSize>& bytes() const { return bytes_; }

private:
    ListItemRecord() = default;
    std::array<std::uint8_t, kListItemRecordSize> bytes_{};
};

}  // namespace hivescout
