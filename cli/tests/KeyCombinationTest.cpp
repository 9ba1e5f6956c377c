#include <gtest/gtest.h>

#include "cli/KeyCombination.h"
#include "keys/tests/GermanLetters.h"

namespace cli {
namespace {

PedalBytes Parsed(const char* text) {
  const KeyParseResult r = ParseKeyCombination(text);
  EXPECT_TRUE(r.ok) << text << ": " << r.error;
  return r.bytes;
}

std::string ErrorOf(const char* text) {
  const KeyParseResult r = ParseKeyCombination(text);
  EXPECT_FALSE(r.ok) << text;
  return r.error;
}

TEST(KeyCombination, ModifiersFoldIntoTheModifierByte) {
  EXPECT_EQ(Parsed("Ctrl+Shift+A"), (PedalBytes{0x03, 0x04, 0, 0}));
  EXPECT_EQ(Parsed("Right Alt+Ctrl+Shift"), (PedalBytes{0x43, 0, 0, 0}));
  EXPECT_EQ(Parsed("Right Windows+F5"), (PedalBytes{0x80, 0x3E, 0, 0}));
  // Key order is kept, modifiers may come anywhere.
  EXPECT_EQ(Parsed("B+Ctrl+A+C"), (PedalBytes{0x01, 0x05, 0x04, 0x06}));
}

TEST(KeyCombination, NamesWithBlanksAndPlusSigns) {
  EXPECT_EQ(Parsed("Page Up"), (PedalBytes{0, 75, 0, 0}));
  EXPECT_EQ(Parsed("Num +"), (PedalBytes{0, 87, 0, 0}));
  EXPECT_EQ(Parsed("Ctrl+Num ++A"), (PedalBytes{0x01, 87, 0x04, 0}));
  EXPECT_EQ(Parsed("\\+Shift"), (PedalBytes{0x02, 49, 0, 0}));
}

TEST(KeyCombination, EmptyAndNoneClear) {
  EXPECT_EQ(Parsed(""), (PedalBytes{0, 0, 0, 0}));
  EXPECT_EQ(Parsed("none"), (PedalBytes{0, 0, 0, 0}));
}

TEST(KeyCombination, BadNamesAreNamedInTheMessage) {
  EXPECT_EQ(ErrorOf("ctrl+A"), "unknown key name \"ctrl\" (names are case-sensitive, e.g. \"Ctrl\")");
  EXPECT_NE(ErrorOf("Ctrl+Shft").find("\"Shft\""), std::string::npos);
  EXPECT_NE(ErrorOf("Ctrl++A").find("empty key name"), std::string::npos);
  EXPECT_NE(ErrorOf("Ctrl+").find("empty key name"), std::string::npos);
  EXPECT_NE(ErrorOf(" A").find("\" A\""), std::string::npos);
  EXPECT_NE(ErrorOf("None").find("\"None\""), std::string::npos);
}

TEST(KeyCombination, AtMostThreeKeysBesidesModifiers) {
  EXPECT_EQ(Parsed("Ctrl+Shift+Alt+A+B+C"), (PedalBytes{0x07, 4, 5, 6}));
  EXPECT_NE(ErrorOf("A+B+C+D").find("too many keys"), std::string::npos);
  EXPECT_NE(ErrorOf("A+A").find("twice"), std::string::npos);
}

TEST(KeyCombination, BytesTextRoundTrip) {
  PedalBytes b{};
  ASSERT_TRUE(ParseBytesText("01-06-00-ff", b));
  EXPECT_EQ(b, (PedalBytes{0x01, 0x06, 0x00, 0xFF}));
  EXPECT_EQ(BytesText(b), "01-06-00-FF");
  for (const char* bad : {"", "01-06-00", "01-06-00-0", "01-06-00-000", "01 06 00 00", "0x-06-00-00", "01-06-00-0g"}) {
    PedalBytes untouched{9, 9, 9, 9};
    EXPECT_FALSE(ParseBytesText(bad, untouched)) << bad;
    EXPECT_EQ(untouched, (PedalBytes{9, 9, 9, 9})) << bad;
  }
}

TEST(KeyCombination, DisplayTextFollowsTheDeviceRule) {
  EXPECT_EQ(DisplayText({0x03, 0x04, 0, 0}), "Ctrl+Shift+A");
  EXPECT_EQ(DisplayText({0, 0x28, 0, 0}), "Enter");
  EXPECT_EQ(DisplayText({0, 0, 0, 0}), "");
  // Every combination the parser accepts reads back as the same bytes.
  for (const char* text : {"Ctrl+C", "Alt+Num +", "Right Shift+Page Down+F12+\\"}) {
    EXPECT_EQ(Parsed(DisplayText(Parsed(text)).c_str()), Parsed(text)) << text;
  }
}

// Codes without a name, empty slots and codes beyond the key rows read out
// as a text that parses back to the same keys.
TEST(KeyCombination, ReadOutTextsParseBack) {
  struct Case {
    PedalBytes bytes;
    const char* text;
    PedalBytes parsed;
  };
  for (const Case& c : {Case{{0x00, 0x68, 0, 0}, "Key 0x68", {0x00, 0x68, 0, 0}},
                        Case{{0x01, 0x68, 0, 0}, "Ctrl+Key 0x68", {0x01, 0x68, 0, 0}},
                        Case{{0x01, 0xE0, 0, 0}, "Ctrl+Key 0xE0", {0x01, 0xE0, 0, 0}},
                        Case{{0x00, 0x32, 0x64, 0}, "Non-US #+Non-US \\", {0x00, 0x32, 0x64, 0}},
                        Case{{0x00, 0x00, 0x05, 0}, "B", {0x00, 0x05, 0, 0}},
                        Case{{0x00, 0xFF, 0xFF, 0xFF}, "", {0, 0, 0, 0}}}) {
    EXPECT_EQ(DisplayText(c.bytes), c.text);
    EXPECT_EQ(Parsed(c.text), c.parsed) << c.text;
  }
}

// With a layout's names the bytes stay positions: "Z" on a German keyboard
// is the US Y position; table names still mean their keys where the layout
// has no such name.
TEST(KeyCombination, LayoutNamesMeanTheirPositions) {
  const keys::KeyNaming german{keys::testing::GermanLetters()};
  struct Case {
    const char* text;
    PedalBytes bytes;
  };
  for (const Case& c : {Case{"Ctrl+Z", {0x01, 0x1C, 0, 0}}, Case{"Y", {0, 0x1D, 0, 0}},
                        Case{"Ö+Page Up", {0, 0x33, 0x4B, 0}}, Case{"Shift+<", {0x02, 0x64, 0, 0}}}) {
    const KeyParseResult r = ParseKeyCombination(c.text, german);
    ASSERT_TRUE(r.ok) << c.text << ": " << r.error;
    EXPECT_EQ(r.bytes, c.bytes) << c.text;
    EXPECT_EQ(DisplayText(r.bytes, german), c.text);
  }
}

}  // namespace
}  // namespace cli
