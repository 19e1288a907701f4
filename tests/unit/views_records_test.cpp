#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "views/record_layout.h"

using namespace hivescout;

namespace {

constexpr std::uint64_t kRemoteText = 0x00007FF6A1B2C3D4ull;
constexpr std::uint64_t kItem = 0x0000012345678ABCull;

std::uint64_t readAt(const std::uint8_t* bytes, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t(bytes[offset + i]) << (8 * i);
    return value;
}

// One row of an offset table: where a field sits, how wide it is and what it holds.
struct Field {
    std::size_t offset;
    std::size_t width;
    std::uint64_t value;
};

// Every listed field holds its value and every other byte is zero.
template <std::size_t N>
void expectExactly(const std::array<std::uint8_t, N>& bytes, const std::vector<Field>& fields) {
    std::vector<bool> listed(N, false);
    for (const Field& field : fields) {
        ASSERT_LE(field.offset + field.width, N);
        EXPECT_EQ(field.value, readAt(bytes.data(), field.offset, field.width)) << "field at " << field.offset;
        for (std::size_t i = 0; i < field.width; ++i) listed[field.offset + i] = true;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (!listed[i]) {
            EXPECT_EQ(0, bytes[i]) << "byte " << i << " should be zero";
        }
    }
}

}  // namespace

TEST(RecordLayoutChoice, ThirtyTwoBitExactlyForAThirtyTwoBitEditor) {
    EXPECT_EQ(RecordLayout::Bits32, chooseRecordLayout(true, false, false));
    EXPECT_EQ(RecordLayout::Bits32, chooseRecordLayout(true, false, true));
    EXPECT_EQ(RecordLayout::Bits32, chooseRecordLayout(false, false, true));
    EXPECT_EQ(RecordLayout::Bits64, chooseRecordLayout(false, true, true));  // default switch wins
    EXPECT_EQ(RecordLayout::Bits64, chooseRecordLayout(false, true, false));
    EXPECT_EQ(RecordLayout::Bits64, chooseRecordLayout(false, false, false));
}

TEST(TreeItemRecord, Bits64MatchesTheOffsetTable) {
    TreeItemRecord record(RecordLayout::Bits64, kRemoteText);
    record.setItem(kItem);
    ASSERT_EQ(80u, record.bytes().size());
    expectExactly(record.bytes(), {{0, 4, 0x11}, {8, 8, kItem}, {24, 8, kRemoteText}, {32, 4, 20480}});
}

TEST(TreeItemRecord, Bits32CarriesOnlyTheLowHalvesOfAddresses) {
    TreeItemRecord record(RecordLayout::Bits32, kRemoteText);
    record.setItem(kItem);
    ASSERT_EQ(80u, record.bytes().size());
    expectExactly(record.bytes(),
                  {{0, 4, 0x11}, {4, 4, kItem & 0xFFFFFFFFu}, {16, 4, kRemoteText & 0xFFFFFFFFu}, {20, 4, 20480}});
}

TEST(TreeItemRecord, ChangingTheItemLeavesEverythingElse) {
    for (RecordLayout layout : {RecordLayout::Bits64, RecordLayout::Bits32}) {
        TreeItemRecord first(layout, kRemoteText);
        first.setItem(kItem);
        TreeItemRecord reused(layout, kRemoteText);
        reused.setItem(0xFFFFFFFFFFFFFFFFull);
        reused.setItem(kItem);
        EXPECT_EQ(first.bytes(), reused.bytes());
    }
}

// On this 64-bit build the platform's own record must agree with the Bits64 image.
TEST(TreeItemRecord, Bits64AgreesWithThePlatformRecord) {
    TVITEMEXW platform{};
    platform.mask = TVIF_TEXT | TVIF_HANDLE;
    platform.hItem = reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(kItem));
    platform.pszText = reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(kRemoteText));
    platform.cchTextMax = 20480;
    ASSERT_EQ(80u, sizeof(platform));
    TreeItemRecord record(RecordLayout::Bits64, kRemoteText);
    record.setItem(kItem);
    EXPECT_EQ(0, std::memcmp(&platform, record.bytes().data(), 80));
}

TEST(ListItemRecord, Bits64TextQueryMatchesTheOffsetTable) {
    ListItemRecord record = ListItemRecord::textQuery(RecordLayout::Bits64, kRemoteText);
    record.setRow(7);
    ASSERT_EQ(72u, record.bytes().size());
    expectExactly(record.bytes(), {{0, 4, 1}, {4, 4, 7}, {8, 4, 0}, {24, 8, kRemoteText}, {32, 4, 20480}});
}

TEST(ListItemRecord, Bits32TextQueryMatchesTheOffsetTable) {
    ListItemRecord record = ListItemRecord::textQuery(RecordLayout::Bits32, kRemoteText);
    record.setRow(1000);
    expectExactly(record.bytes(),
                  {{0, 4, 1}, {4, 4, 1000}, {8, 4, 0}, {20, 4, kRemoteText & 0xFFFFFFFFu}, {24, 4, 20480}});
}

TEST(ListItemRecord, StateChangeSelectsAndFocusesOneRowInBothLayouts) {
    for (RecordLayout layout : {RecordLayout::Bits64, RecordLayout::Bits32}) {
        const ListItemRecord record = ListItemRecord::stateChange(layout, 2);
        expectExactly(record.bytes(), {{0, 4, 8}, {4, 4, 2}, {8, 4, 0}, {12, 4, 3}, {16, 4, 3}});
    }
}

TEST(ListItemRecord, Bits64AgreesWithThePlatformRecord) {
    LVITEMW platform{};
    platform.mask = LVIF_TEXT;
    platform.iItem = 3;
    platform.pszText = reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(kRemoteText));
    platform.cchTextMax = 20480;
    ListItemRecord record = ListItemRecord::textQuery(RecordLayout::Bits64, kRemoteText);
    record.setRow(3);
    ASSERT_GE(sizeof(platform), 72u);
    EXPECT_EQ(0, std::memcmp(&platform, record.bytes().data(), 72));
}
