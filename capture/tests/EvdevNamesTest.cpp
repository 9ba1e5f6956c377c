// The hook's evdev -> set-1 table composed with the key-data names: every key
// of a 105-key PC keyboard must come out under its vocabulary name.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <iterator>
#include <set>
#include <string>

#include "capture/KeyDataNames.h"
#include "hookmod/EvdevScanCodes.h"
#include "keys/KeyNames.h"

namespace {

std::string NameOfEvdevKey(unsigned code) {
    const hookmod::ScanCode scan = hookmod::EvdevToScanCode(code);
    if (!scan.valid()) return "<no scan code>";
    return capture::KeyDataName((std::uint32_t{scan.code} << 16) |
                                (scan.extended ? 1u << 24 : 0u));
}

struct EvdevKey {
    unsigned code;
    const char* name;
};

// A 105-key (ISO) PC keyboard, row by row.
const EvdevKey kPcKeyboard[] = {
    {KEY_ESC, "Esc"}, {KEY_F1, "F1"}, {KEY_F2, "F2"}, {KEY_F3, "F3"}, {KEY_F4, "F4"},
    {KEY_F5, "F5"}, {KEY_F6, "F6"}, {KEY_F7, "F7"}, {KEY_F8, "F8"}, {KEY_F9, "F9"},
    {KEY_F10, "F10"}, {KEY_F11, "F11"}, {KEY_F12, "F12"},
    {KEY_SYSRQ, "Prnt Scrn"}, {KEY_SCROLLLOCK, "Scroll Lock"}, {KEY_PAUSE, "Pause"},

    {KEY_GRAVE, "`"}, {KEY_1, "1"}, {KEY_2, "2"}, {KEY_3, "3"}, {KEY_4, "4"}, {KEY_5, "5"},
    {KEY_6, "6"}, {KEY_7, "7"}, {KEY_8, "8"}, {KEY_9, "9"}, {KEY_0, "0"}, {KEY_MINUS, "-"},
    {KEY_EQUAL, "="}, {KEY_BACKSPACE, "Backspace"},
    {KEY_INSERT, "Insert"}, {KEY_HOME, "Home"}, {KEY_PAGEUP, "Page Up"},
    {KEY_NUMLOCK, "Num Lock"}, {KEY_KPSLASH, "Num /"}, {KEY_KPASTERISK, "Num *"},
    {KEY_KPMINUS, "Num -"},

    {KEY_TAB, "Tab"}, {KEY_Q, "Q"}, {KEY_W, "W"}, {KEY_E, "E"}, {KEY_R, "R"}, {KEY_T, "T"},
    {KEY_Y, "Y"}, {KEY_U, "U"}, {KEY_I, "I"}, {KEY_O, "O"}, {KEY_P, "P"},
    {KEY_LEFTBRACE, "["}, {KEY_RIGHTBRACE, "]"}, {KEY_ENTER, "Enter"},
    {KEY_DELETE, "Delete"}, {KEY_END, "End"}, {KEY_PAGEDOWN, "Page Down"},
    {KEY_KP7, "Num 7"}, {KEY_KP8, "Num 8"}, {KEY_KP9, "Num 9"}, {KEY_KPPLUS, "Num +"},

    {KEY_CAPSLOCK, "Caps Lock"}, {KEY_A, "A"}, {KEY_S, "S"}, {KEY_D, "D"}, {KEY_F, "F"},
    {KEY_G, "G"}, {KEY_H, "H"}, {KEY_J, "J"}, {KEY_K, "K"}, {KEY_L, "L"},
    {KEY_SEMICOLON, ";"}, {KEY_APOSTROPHE, "'"}, {KEY_BACKSLASH, "\\"},
    {KEY_KP4, "Num 4"}, {KEY_KP5, "Num 5"}, {KEY_KP6, "Num 6"},

    {KEY_LEFTSHIFT, "Shift"}, {KEY_102ND, "Non-US \\"}, {KEY_Z, "Z"}, {KEY_X, "X"},
    {KEY_C, "C"}, {KEY_V, "V"}, {KEY_B, "B"}, {KEY_N, "N"}, {KEY_M, "M"}, {KEY_COMMA, ","},
    {KEY_DOT, "."}, {KEY_SLASH, "/"}, {KEY_RIGHTSHIFT, "Right Shift"}, {KEY_UP, "Up"},
    {KEY_KP1, "Num 1"}, {KEY_KP2, "Num 2"}, {KEY_KP3, "Num 3"}, {KEY_KPENTER, "Num Enter"},

    {KEY_LEFTCTRL, "Ctrl"}, {KEY_LEFTMETA, "Left Windows"}, {KEY_LEFTALT, "Alt"},
    {KEY_SPACE, "Space"}, {KEY_RIGHTALT, "Right Alt"}, {KEY_RIGHTMETA, "Right Windows"},
    {KEY_COMPOSE, "Application"}, {KEY_RIGHTCTRL, "Right Ctrl"},
    {KEY_LEFT, "Left"}, {KEY_DOWN, "Down"}, {KEY_RIGHT, "Right"},
    {KEY_KP0, "Num 0"}, {KEY_KPDOT, "Num Del"},
};

TEST(EvdevNames, EveryKeyOfAPcKeyboardComesOutUnderItsName) {
    static_assert(std::size(kPcKeyboard) == 105);
    std::set<std::string> vocabularyNames;
    for (const EvdevKey& key : kPcKeyboard) {
        EXPECT_EQ(NameOfEvdevKey(key.code), key.name) << "evdev " << key.code;
        if (keys::UsageNumber(key.name) != 0) vocabularyNames.insert(key.name);
    }
    // Every vocabulary key is on it; "Non-US #" shares its key with "\\".
    EXPECT_EQ(vocabularyNames.size(), keys::KeyNameTable.size() - 1);
}

TEST(EvdevNames, ExtraKeysKeepNamesOfTheirOwn) {
    EXPECT_EQ(NameOfEvdevKey(KEY_F13), "F13");
    EXPECT_EQ(NameOfEvdevKey(KEY_F24), "F24");
    EXPECT_EQ(NameOfEvdevKey(KEY_VOLUMEUP), "Volume Up");
    EXPECT_EQ(NameOfEvdevKey(KEY_PLAYPAUSE), "Play/Pause");
    EXPECT_EQ(NameOfEvdevKey(KEY_KPEQUAL), "Num =");
    EXPECT_EQ(NameOfEvdevKey(KEY_YEN), "Yen");
    EXPECT_FALSE(hookmod::EvdevToScanCode(KEY_UNKNOWN).valid());
    EXPECT_FALSE(hookmod::EvdevToScanCode(KEY_MAX).valid());
}

}  // namespace
