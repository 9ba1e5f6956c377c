// Linux evdev key codes (X keycode - 8) to PC set-1 scan codes with the
// extended (E0) flag, as a PC keyboard driver reports them in key data.
// Plain C++ so tests can compose it with the capture's key-data names.
//
// Codes 1..83 are the set-1 codes themselves; the rest follow the PC
// scan code set. Two keys are worth a note:
//   Num Lock (KEY_NUMLOCK 69) -> 0x45 extended. Pause (KEY_PAUSE 119) -> 0x45
//   plain. A PC keyboard sends E1 1D 45 for Pause and a bare 45 for Num
//   Lock, but keyboard drivers swap them in key data, and the key-data name
//   table follows that: 0x45 plain is "Pause", 0x45 extended is "Num Lock".
//   Print Screen (KEY_SYSRQ 99) -> 0x37 extended, so it does not collide with
//   the keypad's "*" (0x37 plain).
// Keys without a set-1 code (most multimedia extras) map to "none"; the hook
// does not report them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace hookmod {

struct ScanCode {
    std::uint8_t code = 0;  // 0: no set-1 code
    bool extended = false;

    constexpr bool valid() const { return code != 0; }
};

struct EvdevScanRow {
    std::uint16_t evdev;
    ScanCode scan;
};

inline constexpr EvdevScanRow kEvdevScanRows[] = {
    // Main block, top row to bottom; evdev 1..83 equal the set-1 codes.
    {1, {0x01, false}},    // Esc
    {2, {0x02, false}},    {3, {0x03, false}},  {4, {0x04, false}},
    {5, {0x05, false}},    {6, {0x06, false}},  {7, {0x07, false}},
    {8, {0x08, false}},    {9, {0x09, false}},  {10, {0x0A, false}},
    {11, {0x0B, false}},   // 1..9, 0
    {12, {0x0C, false}},   // -
    {13, {0x0D, false}},   // =
    {14, {0x0E, false}},   // Backspace
    {15, {0x0F, false}},   // Tab
    {16, {0x10, false}},   {17, {0x11, false}}, {18, {0x12, false}},
    {19, {0x13, false}},   {20, {0x14, false}}, {21, {0x15, false}},
    {22, {0x16, false}},   {23, {0x17, false}}, {24, {0x18, false}},
    {25, {0x19, false}},   // Q..P
    {26, {0x1A, false}},   // [
    {27, {0x1B, false}},   // ]
    {28, {0x1C, false}},   // Enter
    {29, {0x1D, false}},   // left Ctrl
    {30, {0x1E, false}},   {31, {0x1F, false}}, {32, {0x20, false}},
    {33, {0x21, false}},   {34, {0x22, false}}, {35, {0x23, false}},
    {36, {0x24, false}},   {37, {0x25, false}}, {38, {0x26, false}},  // A..L
    {39, {0x27, false}},   // ;
    {40, {0x28, false}},   // '
    {41, {0x29, false}},   // `
    {42, {0x2A, false}},   // left Shift
    {43, {0x2B, false}},   // backslash
    {44, {0x2C, false}},   {45, {0x2D, false}}, {46, {0x2E, false}},
    {47, {0x2F, false}},   {48, {0x30, false}}, {49, {0x31, false}},
    {50, {0x32, false}},   // Z..M
    {51, {0x33, false}},   // ,
    {52, {0x34, false}},   // .
    {53, {0x35, false}},   // /
    {54, {0x36, false}},   // right Shift
    {55, {0x37, false}},   // keypad *
    {56, {0x38, false}},   // left Alt
    {57, {0x39, false}},   // Space
    {58, {0x3A, false}},   // Caps Lock
    {59, {0x3B, false}},   {60, {0x3C, false}}, {61, {0x3D, false}},
    {62, {0x3E, false}},   {63, {0x3F, false}}, {64, {0x40, false}},
    {65, {0x41, false}},   {66, {0x42, false}}, {67, {0x43, false}},
    {68, {0x44, false}},   // F1..F10
    {69, {0x45, true}},    // Num Lock (extended, see above)
    {70, {0x46, false}},   // Scroll Lock
    {71, {0x47, false}},   {72, {0x48, false}}, {73, {0x49, false}},  // keypad 7 8 9
    {74, {0x4A, false}},   // keypad -
    {75, {0x4B, false}},   {76, {0x4C, false}}, {77, {0x4D, false}},  // keypad 4 5 6
    {78, {0x4E, false}},   // keypad +
    {79, {0x4F, false}},   {80, {0x50, false}}, {81, {0x51, false}},  // keypad 1 2 3
    {82, {0x52, false}},   // keypad 0
    {83, {0x53, false}},   // keypad .
    {86, {0x56, false}},   // 102nd key (ISO, between left Shift and Z)
    {87, {0x57, false}},   // F11
    {88, {0x58, false}},   // F12
    {89, {0x73, false}},   // Ro (Japanese)
    {92, {0x79, false}},   // Henkan (convert)
    {93, {0x70, false}},   // Katakana/Hiragana
    {94, {0x7B, false}},   // Muhenkan (no convert)
    {96, {0x1C, true}},    // keypad Enter
    {97, {0x1D, true}},    // right Ctrl
    {98, {0x35, true}},    // keypad /
    {99, {0x37, true}},    // Print Screen / SysRq
    {100, {0x38, true}},   // right Alt (AltGr)
    {102, {0x47, true}},   // Home
    {103, {0x48, true}},   // Up
    {104, {0x49, true}},   // Page Up
    {105, {0x4B, true}},   // Left
    {106, {0x4D, true}},   // Right
    {107, {0x4F, true}},   // End
    {108, {0x50, true}},   // Down
    {109, {0x51, true}},   // Page Down
    {110, {0x52, true}},   // Insert
    {111, {0x53, true}},   // Delete
    {113, {0x20, true}},   // Mute
    {114, {0x2E, true}},   // Volume Down
    {115, {0x30, true}},   // Volume Up
    {116, {0x5E, true}},   // Power
    {117, {0x59, false}},  // keypad =
    {119, {0x45, false}},  // Pause (plain, see above)
    {121, {0x7E, false}},  // keypad , (Brazilian)
    {124, {0x7D, false}},  // Yen
    {125, {0x5B, true}},   // left Windows (Super_L)
    {126, {0x5C, true}},   // right Windows (Super_R)
    {127, {0x5D, true}},   // Application / Menu
    {128, {0x68, true}},   // browser Stop
    {140, {0x21, true}},   // Calculator
    {142, {0x5F, true}},   // Sleep
    {143, {0x63, true}},   // Wake
    {155, {0x6C, true}},   // Mail
    {156, {0x66, true}},   // browser Favorites
    {157, {0x6B, true}},   // My Computer
    {158, {0x6A, true}},   // browser Back
    {159, {0x69, true}},   // browser Forward
    {163, {0x19, true}},   // Next Track
    {164, {0x22, true}},   // Play/Pause
    {165, {0x10, true}},   // Previous Track
    {166, {0x24, true}},   // Stop (media)
    {172, {0x32, true}},   // browser Home
    {173, {0x67, true}},   // browser Refresh
    {183, {0x64, false}},  {184, {0x65, false}}, {185, {0x66, false}},
    {186, {0x67, false}},  {187, {0x68, false}}, {188, {0x69, false}},
    {189, {0x6A, false}},  {190, {0x6B, false}}, {191, {0x6C, false}},
    {192, {0x6D, false}},  {193, {0x6E, false}},  // F13..F23
    {194, {0x76, false}},  // F24
    {217, {0x65, true}},   // browser Search
    {226, {0x6D, true}},   // Media Select
};

// Evdev codes that fit in an X keycode (8..255).
inline constexpr unsigned kEvdevCodeLimit = 248;

namespace detail {

constexpr std::array<ScanCode, kEvdevCodeLimit> BuildEvdevScanIndex() {
    std::array<ScanCode, kEvdevCodeLimit> index{};
    for (const EvdevScanRow& row : kEvdevScanRows) index[row.evdev] = row.scan;
    return index;
}

constexpr bool EvdevRowsWellFormed() {
    const std::size_t n = sizeof(kEvdevScanRows) / sizeof(kEvdevScanRows[0]);
    for (std::size_t i = 0; i < n; ++i) {
        const EvdevScanRow& row = kEvdevScanRows[i];
        if (row.evdev == 0 || row.evdev >= kEvdevCodeLimit) return false;
        if (!row.scan.valid() || row.scan.code > 0x7F) return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (kEvdevScanRows[j].evdev >= row.evdev) return false;  // ascending
            if (kEvdevScanRows[j].scan.code == row.scan.code &&
                kEvdevScanRows[j].scan.extended == row.scan.extended)
                return false;  // two keys must never share key data
        }
    }
    return true;
}

inline constexpr std::array<ScanCode, kEvdevCodeLimit> kEvdevScanIndex =
    BuildEvdevScanIndex();

}  // namespace detail

static_assert(detail::EvdevRowsWellFormed(),
              "evdev rows must be ascending and map to distinct set-1 codes");

// Set-1 scan code of an evdev key code; invalid() when the key has none.
constexpr ScanCode EvdevToScanCode(unsigned evdev) {
    return evdev < kEvdevCodeLimit ? detail::kEvdevScanIndex[evdev] : ScanCode{};
}

// Evdev codes of the keys that get a message of their own.
inline constexpr unsigned kEvdevLeftMeta = 125;
inline constexpr unsigned kEvdevRightMeta = 126;
inline constexpr unsigned kEvdevCompose = 127;

// X keycodes are evdev codes shifted by 8.
inline constexpr unsigned kXKeycodeOffset = 8;

}  // namespace hookmod
