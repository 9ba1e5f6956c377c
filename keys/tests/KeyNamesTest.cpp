#include "keys/KeyNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

struct NameCase {
    const char* name;
    const char* number;
};

class ChangekeyCases : public testing::TestWithParam<NameCase> {};

TEST_P(ChangekeyCases, GivesDecimalNumberOrZero) {
    std::string out = "previous content";
    keys::changekey(GetParam().name, out);
    EXPECT_EQ(out, GetParam().number) << "name '" << GetParam().name << "'";
}

INSTANTIATE_TEST_SUITE_P(
    KnownNames, ChangekeyCases,
    testing::Values(NameCase{"A", "4"}, NameCase{"Z", "29"}, NameCase{"1", "30"},
                    NameCase{"0", "39"}, NameCase{"`", "53"}, NameCase{",", "54"},
                    NameCase{"\\", "49"}, NameCase{"Num Del", "99"},
                    NameCase{"Prnt Scrn", "70"}, NameCase{"Right", "79"},
                    NameCase{"Up", "82"}, NameCase{"Num Enter", "88"},
                    NameCase{"Esc", "41"}, NameCase{"Application", "101"},
                    NameCase{"Ctrl", "224"}, NameCase{"Left Windows", "227"},
                    NameCase{"Right Alt", "230"}, NameCase{"Right Windows", "231"}));

INSTANTIATE_TEST_SUITE_P(
    UnknownNames, ChangekeyCases,
    testing::Values(NameCase{"a", "0"}, NameCase{"ctrl", "0"}, NameCase{"esc", "0"},
                    NameCase{"Left Ctrl", "0"}, NameCase{"Print Screen", "0"},
                    NameCase{"Right ", "0"}, NameCase{" Right", "0"},
                    NameCase{"Righ", "0"}, NameCase{"Right Ctrl+", "0"},
                    NameCase{"", "0"}, NameCase{"Num", "0"}, NameCase{"F13", "0"},
                    NameCase{"Left Windows ", "0"}, NameCase{"Windows", "0"}));

struct UsageCase {
    int usage;
    const char* name;
};

class HIDtoKeyCases : public testing::TestWithParam<UsageCase> {};

TEST_P(HIDtoKeyCases, GivesNameOrEmpty) {
    std::string out = "previous content";
    keys::HIDtoKey(GetParam().usage, out);
    EXPECT_EQ(out, GetParam().name) << "usage " << GetParam().usage;
}

INSTANTIATE_TEST_SUITE_P(
    KnownNumbers, HIDtoKeyCases,
    testing::Values(UsageCase{4, "A"}, UsageCase{40, "Enter"}, UsageCase{42, "Backspace"},
                    UsageCase{44, "Space"}, UsageCase{49, "\\"}, UsageCase{53, "`"},
                    UsageCase{76, "Delete"}, UsageCase{79, "Right"}, UsageCase{80, "Left"},
                    UsageCase{81, "Down"}, UsageCase{82, "Up"}, UsageCase{83, "Num Lock"},
                    UsageCase{99, "Num Del"}, UsageCase{50, "Non-US #"},
                    UsageCase{100, "Non-US \\"}, UsageCase{224, "Ctrl"},
                    UsageCase{227, "Left Windows"}, UsageCase{231, "Right Windows"}));

INSTANTIATE_TEST_SUITE_P(
    NumbersWithoutRow, HIDtoKeyCases,
    testing::Values(UsageCase{0, ""}, UsageCase{1, ""}, UsageCase{3, ""},
                    UsageCase{102, ""},
                    UsageCase{223, ""}, UsageCase{232, ""}, UsageCase{255, ""},
                    UsageCase{-1, ""}, UsageCase{256, ""}, UsageCase{4 + 256, ""},
                    UsageCase{INT32_MIN, ""}, UsageCase{INT32_MAX, ""}));

TEST(KeyNameTable, HasNinetyEightKeyRowsAndEightModifierRows) {
    int keyRows = 0;
    int modifierRows = 0;
    std::set<std::string_view> names;
    for (const auto& row : keys::KeyNameTable) {
        names.insert(row.name);
        if (row.number >= 4 && row.number <= 101) ++keyRows;
        if (row.number >= 224 && row.number <= 231) ++modifierRows;
    }
    EXPECT_EQ(keyRows, 98);
    EXPECT_EQ(modifierRows, 8);
    EXPECT_EQ(names.size(), 106u);
}

TEST(KeyNameTable, EveryKeyRowNumberHasARow) {
    for (int n = 0; n < 256; ++n) {
        const bool expectRow = (n >= 4 && n <= 101) ||
                               (n >= 224 && n <= 231);
        EXPECT_EQ(!keys::KeyName(n).empty(), expectRow) << "usage " << n;
    }
}

TEST(KeyNameTable, LettersDigitsAndFunctionKeysRunInOrder) {
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(keys::KeyName(4 + i), std::string(1, static_cast<char>('A' + i)));
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(keys::KeyName(29 + i), std::to_string(i));
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(keys::KeyName(57 + i), "F" + std::to_string(i));
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(keys::KeyName(88 + i), "Num " + std::to_string(i));
    EXPECT_EQ(keys::KeyName(98), "Num 0");
}

TEST(KeyNameTable, EveryRowRoundTripsThroughBothLookups) {
    for (const auto& row : keys::KeyNameTable) {
        std::string name;
        std::string number;
        keys::HIDtoKey(row.number, name);
        keys::changekey(name, number);
        EXPECT_EQ(number, std::to_string(row.number)) << row.name;

        keys::changekey(row.name, number);
        keys::HIDtoKey(std::stoi(number), name);
        EXPECT_EQ(name, row.name);
    }
}

TEST(KeyNameTable, NamesDoNotMatchByPrefixOrCase) {
    // Every proper prefix, every extension by a blank and every case-flipped
    // spelling of a row name is either another row's name or no name at all.
    for (const auto& row : keys::KeyNameTable) {
        const std::string name(row.name);
        for (std::size_t len = 0; len < name.size(); ++len) {
            const int n = keys::UsageNumber(name.substr(0, len));
            EXPECT_TRUE(n == 0 || keys::KeyName(n) == name.substr(0, len));
        }
        EXPECT_EQ(keys::UsageNumber(name + " "), 0) << name;
        std::string flipped = name;
        for (char& c : flipped) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        if (flipped != name) {
            EXPECT_EQ(keys::UsageNumber(flipped), 0) << flipped;
        }
    }
}

TEST(Strtokeys, AgreesWithChangekeyForNamesAndNonNames) {
    std::vector<std::string> inputs;
    for (const auto& row : keys::KeyNameTable) {
        inputs.emplace_back(row.name);
        inputs.push_back(std::string(row.name) + "x");
        inputs.push_back(std::string(row.name).substr(1));
    }
    for (const char* other : {"", " ", "esc", "ENTER", "0x04", "4", "+", "Ctrl+A",
                              "Right Ctrl ", "\t", "Num  1"})
        inputs.emplace_back(other);
    inputs.push_back(std::string("A\0", 2));

    for (const std::string& text : inputs) {
        std::string viaChangekey = "old";
        std::string viaStrtokeys = "older";
        keys::changekey(text, viaChangekey);
        keys::Strtokeys(text, viaStrtokeys);
        EXPECT_EQ(viaStrtokeys, viaChangekey) << "'" << text << "'";
    }
}

}  // namespace
