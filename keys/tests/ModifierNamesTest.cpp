#include "keys/ModifierNames.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "keys/KeyNames.h"

namespace {

struct ModifierCase {
    std::uint8_t byte;
    const char* text;
};

class HIDtoKey2Cases : public testing::TestWithParam<ModifierCase> {};

TEST_P(HIDtoKey2Cases, NamesSetBitsInBitOrder) {
    std::string out = "previous content";
    keys::HIDtoKey2(GetParam().byte, out);
    EXPECT_EQ(out, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, HIDtoKey2Cases,
    testing::Values(ModifierCase{0x00, ""}, ModifierCase{0x01, "Ctrl"},
                    ModifierCase{0x02, "Shift"}, ModifierCase{0x03, "Ctrl+Shift"},
                    ModifierCase{0x05, "Ctrl+Alt"}, ModifierCase{0x06, "Shift+Alt"},
                    ModifierCase{0x11, "Ctrl+Right Ctrl"},
                    ModifierCase{0x88, "Left Windows+Right Windows"},
                    ModifierCase{0x80, "Right Windows"},
                    ModifierCase{0x50, "Right Ctrl+Right Alt"},
                    ModifierCase{0xFF,
                                 "Ctrl+Shift+Alt+Left Windows+Right Ctrl+Right Shift+"
                                 "Right Alt+Right Windows"}));

TEST(ModifierName, CoversBitsZeroToSevenOnly) {
    EXPECT_EQ(keys::ModifierName(0), "Ctrl");
    EXPECT_EQ(keys::ModifierName(3), "Left Windows");
    EXPECT_EQ(keys::ModifierName(7), "Right Windows");
    EXPECT_EQ(keys::ModifierName(-1), "");
    EXPECT_EQ(keys::ModifierName(8), "");
}

TEST(HIDtoKey2, NamesFoldBackToTheSameByteForEveryNonzeroByte) {
    for (int byte = 1; byte < 256; ++byte) {
        std::string text;
        keys::HIDtoKey2(static_cast<std::uint8_t>(byte), text);
        ASSERT_FALSE(text.empty());
        ASSERT_NE(text.front(), '+');
        ASSERT_NE(text.back(), '+');

        int folded = 0;
        std::string_view rest = text;
        while (true) {
            const std::size_t plus = rest.find('+');
            std::string number;
            keys::changekey(rest.substr(0, plus), number);
            const int n = std::stoi(number);
            ASSERT_GE(n, 224) << text;
            ASSERT_LE(n, 231) << text;
            folded |= 1 << (n - 224);
            if (plus == std::string_view::npos) break;
            rest.remove_prefix(plus + 1);
        }
        EXPECT_EQ(folded, byte) << text;
    }
}

}  // namespace
