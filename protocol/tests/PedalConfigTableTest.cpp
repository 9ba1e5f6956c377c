#include "protocol/PedalConfigTable.h"

#include <gtest/gtest.h>

namespace {

using protocol::PedalConfigTable;

TEST(PedalConfigTable, StartsWithEveryTextEmpty) {
    PedalConfigTable table;
    for (int row = 0; row < PedalConfigTable::kRowCount; ++row) {
        EXPECT_EQ(table.KeyText(row), "");
        for (int slot = 0; slot < PedalConfigTable::kSlotCount; ++slot) {
            EXPECT_EQ(table.Slot(row, slot), "");
            EXPECT_EQ(table.ByteOf(row, slot), 0);
        }
    }
}

struct SlotCase {
    const char* text;
    std::uint8_t byte;
};

class SlotByteCases : public testing::TestWithParam<SlotCase> {};

TEST_P(SlotByteCases, ReadsTextAsHexLowByte) {
    EXPECT_EQ(PedalConfigTable::SlotByte(GetParam().text), GetParam().byte)
        << "text '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SlotByteCases,
    testing::Values(SlotCase{"FF", 0xFF}, SlotCase{"", 0x00}, SlotCase{"00", 0x00},
                    SlotCase{"04", 0x04}, SlotCase{"a", 0x0A}, SlotCase{"1FF", 0xFF},
                    SlotCase{"12345678", 0x78}, SlotCase{"xyz", 0x00},
                    SlotCase{"-1", 0x00}, SlotCase{" 4", 0x00}, SlotCase{"100000004", 0x00}));

TEST(PedalConfigTable, RowBytesBecomeTextsAndJoinedCodeText) {
    PedalConfigTable table;
    table.SetRowBytes(5, {0x01, 0x04, 0x00, 0xFF});
    EXPECT_EQ(table.Slot(5, 0), "01");
    EXPECT_EQ(table.Slot(5, 3), "FF");
    EXPECT_EQ(table.JoinedCodeText(5), "01-04-00-FF");
    EXPECT_EQ(table.ByteOf(5, 3), 0xFF);
    EXPECT_EQ(table.JoinedCodeText(4), "---");
}

TEST(PedalConfigTable, ResetRowSetsSlotsToZeroTextAndKeepsDisplayText) {
    PedalConfigTable table;
    table.SetKeyText(2, "Ctrl+A");
    table.SetRowBytes(2, {0x01, 0x04, 0x05, 0x06});
    table.SetSlot(3, 1, "1E");
    table.ResetRow(2);
    EXPECT_EQ(table.JoinedCodeText(2), "00-00-00-00");
    EXPECT_EQ(table.KeyText(2), "Ctrl+A");
    EXPECT_EQ(table.Slot(3, 1), "1E");
}

TEST(PedalConfigTable, DisplayTextIsNeverParsedIntoCodes) {
    PedalConfigTable table;
    table.SetKeyText(0, "Shift+A");
    EXPECT_EQ(table.JoinedCodeText(0), "---");
    table.SetSlot(0, 1, "1E");
    EXPECT_EQ(table.KeyText(0), "Shift+A");
}

TEST(PedalConfigTable, OutOfRangeIndicesAreIgnoredOrEmpty) {
    PedalConfigTable table;
    for (int row : {-1, 8, 1000}) {
        table.SetKeyText(row, "x");
        table.SetSlot(row, 0, "FF");
        table.SetRowBytes(row, {1, 2, 3, 4});
        table.ResetRow(row);
        EXPECT_EQ(table.KeyText(row), "");
        EXPECT_EQ(table.Slot(row, 0), "");
        EXPECT_EQ(table.ByteOf(row, 0), 0);
        EXPECT_EQ(table.JoinedCodeText(row), "");
    }
    for (int slot : {-1, 4}) {
        table.SetSlot(0, slot, "FF");
        EXPECT_EQ(table.Slot(0, slot), "");
        EXPECT_EQ(table.ByteOf(0, slot), 0);
    }
    for (int row = 0; row < PedalConfigTable::kRowCount; ++row) {
        EXPECT_EQ(table.KeyText(row), "");
        EXPECT_EQ(table.JoinedCodeText(row), "---");
    }
}

}  // namespace
