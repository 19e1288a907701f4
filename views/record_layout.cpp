#include "views/record_layout.h"

#include "views/view_finder.h"

namespace hivescout {

namespace {

// Field offsets of the records as a 64-bit and as a 32-bit editor reads them.
struct TreeOffsets {
    std::size_t mask, item, text, textMax;
    bool wideAddresses;
};
constexpr TreeOffsets kTree64{0, 8, 24, 32, true};
constexpr TreeOffsets kTree32{0, 4, 16, 20, false};

struct ListOffsets {
    std::size_t mask, row, subItem, state, stateMask, text, textMax;
    bool wideAddresses;
};
constexpr ListOffsets kList64{0, 4, 8, 12, 16, 24, 32, true};
constexpr ListOffsets kList32{0, 4, 8, 12, 16, 20, 24, false};

constexpr std::uint32_t kTreeTextAndHandle = 0x11;  // TVIF_TEXT | TVIF_HANDLE
constexpr std::uint32_t kListText = 0x1;            // LVIF_TEXT
constexpr std::uint32_t kListState = 0x8;           // LVIF_STATE
constexpr std::uint32_t kFocusedAndSelected = 0x3;  // LVIS_FOCUSED | LVIS_SELECTED

// Little-endian, as both editors read them.
template <std::size_t N>
void put32(std::array<std::uint8_t, N>& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <std::size_t N>
void put64(std::array<std::uint8_t, N>& bytes, std::size_t offset, std::uint64_t value) {
    for (std::size_t i = 0; i < 8; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A 32-bit editor sees only the low half of an address or handle.
template <std::size_t N>
void putAddress(std::array<std::uint8_t, N>& bytes, std::size_t offset, std::uint64_t value, bool wide) {
    if (wide)
        put64(bytes, offset, value);
    else
        put32(bytes, offset, static_cast<std::uint32_t>(value));
}

const TreeOffsets& treeOffsets(RecordLayout layout) { return layout == RecordLayout::Bits32 ? kTree32 : kTree64; }
const ListOffsets& listOffsets(RecordLayout layout) { return layout == RecordLayout::Bits32 ? kList32 : kList64; }

}  // namespace

RecordLayout chooseRecordLayout(bool use32BitRegedit, bool use64BitRegedit, bool editorIs32Bit) {
    if (use32BitRegedit) return RecordLayout::Bits32;
    if (editorIs32Bit && !use64BitRegedit) return RecordLayout::Bits32;
    return RecordLayout::Bits64;
}

TreeItemRecord::TreeItemRecord(RecordLayout layout, std::uint64_t remoteText) : layout_(layout) {
    const TreeOffsets& at = treeOffsets(layout);
    put32(bytes_, at.mask, kTreeTextAndHandle);
    putAddress(bytes_, at.text, remoteText, at.wideAddresses);
    put32(bytes_, at.textMax, static_cast<std::uint32_t>(kRemoteTextCapacity));
}

void TreeItemRecord::setItem(std::uint64_t item) {
    const TreeOffsets& at = treeOffsets(layout_);
    putAddress(bytes_, at.item, item, at.wideAddresses);
}

ListItemRecord ListItemRecord::textQuery(RecordLayout layout, std::uint64_t remoteText) {
    const ListOffsets& at = listOffsets(layout);
    ListItemRecord record;
    put32(record.bytes_, at.mask, kListText);
    putAddress(record.bytes_, at.text, remoteText, at.wideAddresses);
    put32(record.bytes_, at.textMax, static_cast<std::uint32_t>(kRemoteTextCapacity));
    return record;
}

ListItemRecord ListItemRecord::stateChange(RecordLayout layout, std::int32_t row) {
    const ListOffsets& at = listOffsets(layout);
    ListItemRecord record;
    put32(record.bytes_, at.mask, kListState);
    put32(record.bytes_, at.state, kFocusedAndSelected);
    put32(record.bytes_, at.stateMask, kFocusedAndSelected);
    record.setRow(row);
    return record;
}

void ListItemRecord::setRow(std::int32_t row) {
    // Row and sub-item sit at the same offsets in both layouts.
    put32(bytes_, kList64.row, static_cast<std::uint32_t>(row));
    put32(bytes_, kList64.subItem, 0);
}

}  // namespace hivescout
