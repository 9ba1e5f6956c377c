// The key positions that type a character, and their PC set-1 scan codes.
// For these keys the set-1 code is also the Linux evdev code (X keycode - 8).
// Usages 49 and 50 are one key on a PC keyboard (set-1 0x2B): the backslash
// key of a US keyboard sits where an ISO keyboard has its "#" key.
#pragma once

#include <array>
#include <cstddef>

namespace keys {

struct CharacterKey {
    int usage;
    int scanCode;
};

inline constexpr int kFirstLetterUsage = 4;   // A
inline constexpr int kLastLetterUsage = 29;   // Z

inline constexpr std::array<CharacterKey, 48> kCharacterKeys{{
    {4, 0x1E},  {5, 0x30},  {6, 0x2E},  {7, 0x20},  {8, 0x12},  {9, 0x21},  {10, 0x22},
    {11, 0x23}, {12, 0x17}, {13, 0x24}, {14, 0x25}, {15, 0x26}, {16, 0x32}, {17, 0x31},
    {18, 0x18}, {19, 0x19}, {20, 0x10}, {21, 0x13}, {22, 0x1F}, {23, 0x14}, {24, 0x16},
    {25, 0x2F}, {26, 0x11}, {27, 0x2D}, {28, 0x15}, {29, 0x2C},
    {30, 0x02}, {31, 0x03}, {32, 0x04}, {33, 0x05}, {34, 0x06}, {35, 0x07}, {36, 0x08},
    {37, 0x09}, {38, 0x0A}, {39, 0x0B},
    {45, 0x0C}, {46, 0x0D}, {47, 0x1A}, {48, 0x1B}, {49, 0x2B}, {50, 0x2B}, {51, 0x27},
    {52, 0x28}, {53, 0x29}, {54, 0x33}, {55, 0x34}, {56, 0x35},
}};

inline constexpr CharacterKey kIsoKey{100, 0x56};

// Set-1 scan code of a character position; 0 for any other usage.
constexpr int CharacterScanCode(int usage) {
    if (usage == kIsoKey.usage) return kIsoKey.scanCode;
    for (const CharacterKey& key : kCharacterKeys)
        if (key.usage == usage) return key.scanCode;
    return 0;
}

}  // namespace keys
