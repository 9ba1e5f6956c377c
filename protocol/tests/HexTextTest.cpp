#include "protocol/HexText.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* text;
    std::uint32_t value;
};

class ParseHexCases : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseHexCases, ReadsHexOrGivesZero) {
    EXPECT_EQ(protocol::ParseHexOrZero(GetParam().text), GetParam().value)
        << "text '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    ValidNumbers, ParseHexCases,
    testing::Values(ParseCase{"0", 0}, ParseCase{"04", 4}, ParseCase{"a", 0xA},
                    ParseCase{"A", 0xA}, ParseCase{"e0", 0xE0}, ParseCase{"Ff", 0xFF},
                    ParseCase{"1FF", 0x1FF}, ParseCase{"FFFFFFFF", 0xFFFFFFFFu},
                    ParseCase{"00000000000000012", 0x12}, ParseCase{"DeadBeef", 0xDEADBEEFu}));

INSTANTIATE_TEST_SUITE_P(
    InvalidTexts, ParseHexCases,
    testing::Values(ParseCase{"", 0}, ParseCase{"xyz", 0}, ParseCase{"g", 0},
                    ParseCase{"+1", 0}, ParseCase{"-1", 0}, ParseCase{" 1", 0},
                    ParseCase{"1 ", 0}, ParseCase{"1 2", 0}, ParseCase{"$1F", 0},
                    ParseCase{"0x1F", 0}, ParseCase{"1Fh", 0}, ParseCase{"100000000", 0},
                    ParseCase{"FFFFFFFFF", 0}, ParseCase{"12345678901234567890", 0}));

TEST(ParseHexOrZero, StopsAtEmbeddedNul) {
    EXPECT_EQ(protocol::ParseHexOrZero(std::string_view("1\0", 2)), 0u);
}

TEST(HexByteText, IsTwoUpperCaseDigitsThatReadBack) {
    EXPECT_EQ(protocol::HexByteText(0x04), "04");
    EXPECT_EQ(protocol::HexByteText(0x0A), "0A");
    EXPECT_EQ(protocol::HexByteText(0xFF), "FF");
    for (int v = 0; v < 256; ++v) {
        const std::string text = protocol::HexByteText(static_cast<std::uint8_t>(v));
        ASSERT_EQ(text.size(), 2u);
        for (char c : text) EXPECT_FALSE(c >= 'a' && c <= 'f') << text;
        EXPECT_EQ(protocol::ParseHexOrZero(text), static_cast<std::uint32_t>(v));
    }
}

}  // namespace
