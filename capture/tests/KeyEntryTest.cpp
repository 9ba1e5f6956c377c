// The key edit box's change rule on the configuration table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/KeyEntry.h"
#include "protocol/PedalConfigTable.h"

namespace {

using Names = std::vector<std::string>;

std::vector<std::string> Row(const protocol::PedalConfigTable& t, int row) {
    return {t.Slot(row, 0), t.Slot(row, 1), t.Slot(row, 2), t.Slot(row, 3)};
}

TEST(KeyEntry, KeysFillSlotsInPressOrderAndModifiersSetBits) {
    protocol::PedalConfigTable t;
    EXPECT_EQ(capture::ApplyKeyEntry("Ctrl+A", 0, {"Ctrl", "A"}, t), "01-04-00-00");
    EXPECT_EQ(t.KeyText(0), "Ctrl+A");

    EXPECT_EQ(capture::ApplyKeyEntry("A+Shift+B", 1, {"A", "Shift", "B"}, t), "02-04-05-00");
    EXPECT_EQ(Row(t, 1), (Names{"02", "04", "05", "00"}));

    capture::ApplyKeyEntry("x", 2, {"Right Ctrl", "Right Alt", "Delete"}, t);
    EXPECT_EQ(Row(t, 2), (Names{"50", "4C", "00", "00"}));

    capture::ApplyKeyEntry("Application", 3, {"Application"}, t);
    EXPECT_EQ(Row(t, 3), (Names{"00", "65", "00", "00"}));

    capture::ApplyKeyEntry("x", 4, {"Left Windows", "Right Windows", "Right Shift"}, t);
    EXPECT_EQ(Row(t, 4), (Names{"A8", "00", "00", "00"}));

    // Rows other than the selected one are untouched.
    EXPECT_EQ(Row(t, 0), (Names{"01", "04", "00", "00"}));
    EXPECT_EQ(t.KeyText(5), "");
}

TEST(KeyEntry, WithoutCapturedKeysOnlyTheTextIsStored) {
    protocol::PedalConfigTable t;
    t.SetRowBytes(0, {0x02, 0x04, 0x00, 0x00});
    EXPECT_EQ(capture::ApplyKeyEntry("Shift+A", 0, {}, t), std::nullopt);
    EXPECT_EQ(t.KeyText(0), "Shift+A");
    EXPECT_EQ(Row(t, 0), (Names{"02", "04", "00", "00"}));
}

TEST(KeyEntry, CapturedKeysReplaceTheRowsEarlierCodes) {
    protocol::PedalConfigTable t;
    t.SetRowBytes(0, {0x07, 0x04, 0x05, 0x06});
    capture::ApplyKeyEntry("Alt+Z", 0, {"Alt", "Z"}, t);
    EXPECT_EQ(Row(t, 0), (Names{"04", "1D", "00", "00"}));
}

TEST(KeyEntry, UnknownNamesLeaveNoTraceInTheCodes) {
    protocol::PedalConfigTable t;
    EXPECT_EQ(capture::ApplyKeyEntry("F13+A", 0, {"F13", "A"}, t), "00-04-00-00");
    EXPECT_EQ(t.KeyText(0), "F13+A");
    t.SetRowBytes(1, {0x01, 0x04, 0x00, 0x00});
    EXPECT_EQ(capture::ApplyKeyEntry("ctrl", 1, {"ctrl", ""}, t), "00-00-00-00");
}

TEST(KeyEntry, MoreThanThreeKeyNamesKeepTheFirstThree) {
    protocol::PedalConfigTable t;
    EXPECT_EQ(capture::ApplyKeyEntry("x", 0, {"A", "B", "Ctrl", "C", "D"}, t), "01-04-05-06");
}

TEST(KeyEntry, TabOutsideTheTableChangesNothing) {
    protocol::PedalConfigTable t;
    EXPECT_NO_THROW(capture::ApplyKeyEntry("Ctrl+A", 8, {"Ctrl", "A"}, t));
    EXPECT_NO_THROW(capture::ApplyKeyEntry("Ctrl+A", -1, {"Ctrl", "A"}, t));
    for (int row = 0; row < protocol::PedalConfigTable::kRowCount; ++row)
        EXPECT_EQ(Row(t, row), (Names{"", "", "", ""}));
}

}  // namespace
