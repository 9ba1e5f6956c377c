// The fixed vocabulary of keys the pedal can be given: name and usage number
// on the HID Keyboard/Keypad page (0x07). Key rows use 4..101, modifier rows
// 224..231 (bit n of the modifier byte is usage 224 + n). The names are those
// of the key positions on a US keyboard; 50 and 100 are the two keys an ISO
// keyboard has beside Enter and beside left Shift.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace keys {

struct KeyNameRow {
    std::string_view name;
    int number;
};

inline constexpr std::size_t kKeyNameRowCount = 106;
inline constexpr int kFirstModifierUsage = 224;
inline constexpr int kLastModifierUsage = 231;
// Numbers below this bound are key rows, numbers from it on are modifiers.
inline constexpr int kFirstNonKeyUsage = 102;

inline constexpr std::array<KeyNameRow, kKeyNameRowCount> KeyNameTable{{
    {"A", 4}, {"B", 5}, {"C", 6}, {"D", 7}, {"E", 8}, {"F", 9}, {"G", 10},
    {"H", 11}, {"I", 12}, {"J", 13}, {"K", 14}, {"L", 15}, {"M", 16},
    {"N", 17}, {"O", 18}, {"P", 19}, {"Q", 20}, {"R", 21}, {"S", 22},
    {"T", 23}, {"U", 24}, {"V", 25}, {"W", 26}, {"X", 27}, {"Y", 28},
    {"Z", 29},
    {"1", 30}, {"2", 31}, {"3", 32}, {"4", 33}, {"5", 34}, {"6", 35},
    {"7", 36}, {"8", 37}, {"9", 38}, {"0", 39},
    {"Enter", 40}, {"Esc", 41}, {"Backspace", 42}, {"Tab", 43}, {"Space", 44},
    {"-", 45}, {"=", 46}, {"[", 47}, {"]", 48}, {"\\", 49}, {"Non-US #", 50},
    {";", 51}, {"'", 52}, {"`", 53}, {",", 54}, {".", 55}, {"/", 56},
    {"Caps Lock", 57},
    {"F1", 58}, {"F2", 59}, {"F3", 60}, {"F4", 61}, {"F5", 62}, {"F6", 63},
    {"F7", 64}, {"F8", 65}, {"F9", 66}, {"F10", 67}, {"F11", 68}, {"F12", 69},
    {"Prnt Scrn", 70}, {"Scroll Lock", 71}, {"Pause", 72}, {"Insert", 73},
    {"Home", 74}, {"Page Up", 75}, {"Delete", 76}, {"End", 77},
    {"Page Down", 78}, {"Right", 79}, {"Left", 80}, {"Down", 81}, {"Up", 82},
    {"Num Lock", 83}, {"Num /", 84}, {"Num *", 85}, {"Num -", 86},
    {"Num +", 87}, {"Num Enter", 88},
    {"Num 1", 89}, {"Num 2", 90}, {"Num 3", 91}, {"Num 4", 92}, {"Num 5", 93},
    {"Num 6", 94}, {"Num 7", 95}, {"Num 8", 96}, {"Num 9", 97}, {"Num 0", 98},
    {"Num Del", 99}, {"Non-US \\", 100},
    {"Application", 101},
    {"Ctrl", 224}, {"Shift", 225}, {"Alt", 226}, {"Left Windows", 227},
    {"Right Ctrl", 228}, {"Right Shift", 229}, {"Right Alt", 230},
    {"Right Windows", 231},
}};

namespace detail {

constexpr bool RowsWellFormed() {
    for (std::size_t i = 0; i < KeyNameTable.size(); ++i) {
        const KeyNameRow& row = KeyNameTable[i];
        if (row.name.empty() || row.name.size() > 13) return false;
        for (char c : row.name)
            if (c < 0x20 || c > 0x7E) return false;
        const bool keyRow = row.number >= 4 && row.number < kFirstNonKeyUsage;
        const bool modifierRow =
            row.number >= kFirstModifierUsage && row.number <= kLastModifierUsage;
        if (!keyRow && !modifierRow) return false;
        // Rows are kept in number order, which also makes numbers unique.
        if (i > 0 && KeyNameTable[i - 1].number >= row.number) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (KeyNameTable[j].name == row.name) return false;
    }
    return true;
}

}  // namespace detail

static_assert(detail::RowsWellFormed(),
              "key rows must have unique printable names and ascending numbers");

}  // namespace keys
