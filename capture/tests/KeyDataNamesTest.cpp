// Key data (set-1 scan code + extended flag) to key names.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "capture/KeyDataNames.h"
#include "keys/KeyNameTable.h"
#include "keys/KeyNames.h"

namespace {

std::uint32_t KeyData(unsigned scan, bool extended) {
    return (scan << 16) | (extended ? 1u << 24 : 0u);
}

struct PcKey {
    const char* name;
    unsigned scan;
    bool extended;
};

// Where each key of the vocabulary sits on a PC keyboard, by its set-1 scan
// code as key data carries it.
const PcKey kPcKeys[] = {
    {"A", 0x1E, false}, {"B", 0x30, false}, {"C", 0x2E, false}, {"D", 0x20, false},
    {"E", 0x12, false}, {"F", 0x21, false}, {"G", 0x22, false}, {"H", 0x23, false},
    {"I", 0x17, false}, {"J", 0x24, false}, {"K", 0x25, false}, {"L", 0x26, false},
    {"M", 0x32, false}, {"N", 0x31, false}, {"O", 0x18, false}, {"P", 0x19, false},
    {"Q", 0x10, false}, {"R", 0x13, false}, {"S", 0x1F, false}, {"T", 0x14, false},
    {"U", 0x16, false}, {"V", 0x2F, false}, {"W", 0x11, false}, {"X", 0x2D, false},
    {"Y", 0x15, false}, {"Z", 0x2C, false},
    {"1", 0x02, false}, {"2", 0x03, false}, {"3", 0x04, false}, {"4", 0x05, false},
    {"5", 0x06, false}, {"6", 0x07, false}, {"7", 0x08, false}, {"8", 0x09, false},
    {"9", 0x0A, false}, {"0", 0x0B, false},
    {"Enter", 0x1C, false}, {"Esc", 0x01, false}, {"Backspace", 0x0E, false},
    {"Tab", 0x0F, false}, {"Space", 0x39, false},
    {"-", 0x0C, false}, {"=", 0x0D, false}, {"[", 0x1A, false}, {"]", 0x1B, false},
    {"\\", 0x2B, false}, {";", 0x27, false}, {"'", 0x28, false}, {"`", 0x29, false},
    {",", 0x33, false}, {".", 0x34, false}, {"/", 0x35, false},
    {"Caps Lock", 0x3A, false},
    {"F1", 0x3B, false}, {"F2", 0x3C, false}, {"F3", 0x3D, false}, {"F4", 0x3E, false},
    {"F5", 0x3F, false}, {"F6", 0x40, false}, {"F7", 0x41, false}, {"F8", 0x42, false},
    {"F9", 0x43, false}, {"F10", 0x44, false}, {"F11", 0x57, false}, {"F12", 0x58, false},
    {"Prnt Scrn", 0x37, true}, {"Scroll Lock", 0x46, false}, {"Pause", 0x45, false},
    {"Insert", 0x52, true}, {"Home", 0x47, true}, {"Page Up", 0x49, true},
    {"Delete", 0x53, true}, {"End", 0x4F, true}, {"Page Down", 0x51, true},
    {"Right", 0x4D, true}, {"Left", 0x4B, true}, {"Down", 0x50, true}, {"Up", 0x48, true},
    {"Num Lock", 0x45, true}, {"Num /", 0x35, true}, {"Num *", 0x37, false},
    {"Num -", 0x4A, false}, {"Num +", 0x4E, false}, {"Num Enter", 0x1C, true},
    {"Num 1", 0x4F, false}, {"Num 2", 0x50, false}, {"Num 3", 0x51, false},
    {"Num 4", 0x4B, false}, {"Num 5", 0x4C, false}, {"Num 6", 0x4D, false},
    {"Num 7", 0x47, false}, {"Num 8", 0x48, false}, {"Num 9", 0x49, false},
    {"Num 0", 0x52, false}, {"Num Del", 0x53, false},
    {"Application", 0x5D, true},
    {"Ctrl", 0x1D, false}, {"Shift", 0x2A, false}, {"Alt", 0x38, false},
    {"Left Windows", 0x5B, true}, {"Right Ctrl", 0x1D, true},
    {"Non-US \\", 0x56, false}, {"Right Shift", 0x36, false}, {"Right Alt", 0x38, true},
    {"Right Windows", 0x5C, true},
};

TEST(KeyDataNames, EveryVocabularyKeyGetsExactlyItsName) {
    std::set<std::string> covered;
    for (const PcKey& key : kPcKeys) {
        covered.insert(key.name);
        EXPECT_EQ(capture::KeyDataName(KeyData(key.scan, key.extended)), key.name)
            << std::hex << key.scan << (key.extended ? " extended" : "");
        EXPECT_EQ(capture::KeyDataUsage(KeyData(key.scan, key.extended)), keys::UsageNumber(key.name));
        // As the hook sends it: repeat count 1, and release bits on release.
        const std::uint32_t press = KeyData(key.scan, key.extended) | 1u;
        EXPECT_EQ(capture::KeyNameForMessage(press), key.name);
        EXPECT_EQ(capture::KeyNameForMessage(press | 0xC0000000u), key.name);
    }
    std::set<std::string> vocabulary;
    for (const auto& row : keys::KeyNameTable) vocabulary.insert(std::string(row.name));
    // A PC keyboard sends one scan code for the keys at "\\" and "Non-US #".
    vocabulary.erase("Non-US #");
    EXPECT_EQ(covered, vocabulary);
}

TEST(KeyDataNames, EveryKeyDataHasItsOwnShortName) {
    // Distinct names: a release always matches its own press, and no key is
    // taken for another one of the vocabulary.
    std::map<std::string, std::uint32_t> seen;
    for (unsigned extended = 0; extended < 2; ++extended) {
        for (unsigned scan = 0; scan < 256; ++scan) {
            const std::uint32_t data = KeyData(scan, extended != 0);
            const std::string name = capture::KeyDataName(data);
            EXPECT_FALSE(name.empty());
            EXPECT_LE(name.size(), 19u) << name;
            const auto [it, fresh] = seen.emplace(name, data);
            EXPECT_TRUE(fresh) << name << " for " << std::hex << data << " and " << it->second;
        }
    }
}

TEST(KeyDataNames, KeysOutsideTheVocabularyAddNoCodes) {
    for (const auto& [scan, extended, name] :
         {std::tuple{0x64u, false, "F13"}, {0x76u, false, "F24"},
          {0x54u, false, "Sys Req"}, {0x46u, true, "Break"}, {0x30u, true, "Volume Up"},
          {0x22u, true, "Play/Pause"}, {0x00u, false, "Key 00"}, {0x5Au, true, "Key E0 5A"},
          {0xFFu, false, "Key FF"}}) {
        const std::string got = capture::KeyDataName(KeyData(scan, extended));
        EXPECT_EQ(got, name);
        EXPECT_EQ(keys::UsageNumber(got), 0) << got;
    }
}

TEST(KeyDataNames, OnlyScanCodeAndExtendedBitSelectTheName) {
    EXPECT_EQ(capture::KeyDataName(0x0038FFFFu), "Alt");
    EXPECT_EQ(capture::KeyDataName(0xFE38FFFFu), "Alt");  // bit 24 clear
    EXPECT_EQ(capture::KeyDataName(0x0138FFFFu), "Right Alt");
}

TEST(KeyDataNames, NameTextIsCutToTheBufferAndZeroTerminated) {
    const std::uint32_t pageUp = KeyData(0x49, true);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(capture::KeyNameText(pageUp, buffer, 4), 3);
    EXPECT_STREQ(buffer, "Pag");
    EXPECT_EQ(buffer[4], 'x');  // nothing written past the given size

    EXPECT_EQ(capture::KeyNameText(pageUp, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
    buffer[0] = 'x';
    EXPECT_EQ(capture::KeyNameText(pageUp, buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');

    char room[32];
    EXPECT_EQ(capture::KeyNameText(KeyData(0x66, true), room, sizeof room), 17);
    EXPECT_STREQ(room, "Browser Favorites");
}

}  // namespace
