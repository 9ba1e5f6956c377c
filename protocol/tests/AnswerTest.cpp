#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "protocol/AnswerDisplayText.h"
#include "protocol/AnswerStore.h"
#include "protocol/PedalAnswer.h"
#include "keys/tests/GermanLetters.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

protocol::PedalAnswer Decode(const Bytes& data) {
    return protocol::DecodeInputReport(0x02, data.data(),
                                       static_cast<std::uint16_t>(data.size()));
}

struct StatusCase {
    std::uint8_t status;
    bool isAnswer;
    std::uint8_t versionCode;
    const char* versionText;
};

class StatusCases : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusCases, StatusByteDecidesAnswerAndVersion) {
    const auto answer = Decode({GetParam().status, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(answer.isConfigAnswer, GetParam().isAnswer);
    EXPECT_EQ(answer.versionCode, GetParam().versionCode);
    EXPECT_EQ(protocol::VersionText(answer.versionCode), GetParam().versionText);
}

INSTANTIATE_TEST_SUITE_P(
    Status, StatusCases,
    testing::Values(StatusCase{0x00, false, 0x0, ""}, StatusCase{0x01, false, 0x1, "V1.0.0"},
                    StatusCase{0x80, false, 0x0, ""}, StatusCase{0x81, true, 0x1, "V1.0.0"},
                    StatusCase{0x91, true, 0x1, "V1.0.0"}, StatusCase{0x82, true, 0x2, ""},
                    StatusCase{0x90, true, 0x0, ""}, StatusCase{0xFF, true, 0xF, ""}));

TEST(DecodeInputReport, PedalIndexIsLowNibbleOfByteTwo) {
    EXPECT_EQ(Decode({0x81, 0x12, 0, 0, 0, 0, 0}).pedalIndex, 2);
    EXPECT_EQ(Decode({0x81, 0xF1, 0, 0, 0, 0, 0}).pedalIndex, 1);
    EXPECT_EQ(Decode({0x81, 0x0C, 0, 0, 0, 0, 0}).pedalIndex, 12);
}

TEST(DecodeInputReport, AssignmentBytesInReportOrder) {
    const auto answer = Decode({0x81, 0x00, 0x02, 0x04, 0x05, 0x06, 0x77});
    EXPECT_EQ(answer.modifiers, 0x02);
    EXPECT_EQ(answer.keys[0], 0x04);
    EXPECT_EQ(answer.keys[1], 0x05);
    EXPECT_EQ(answer.keys[2], 0x06);
}

TEST(DecodeInputReport, BytesAShortReportLacksCountAsZero) {
    const auto answer = Decode({0x81, 0x01, 0x02});
    EXPECT_TRUE(answer.isConfigAnswer);
    EXPECT_EQ(answer.pedalIndex, 1);
    EXPECT_EQ(answer.modifiers, 0x02);
    EXPECT_EQ(answer.keys[0], 0);
    EXPECT_EQ(answer.keys[1], 0);
    EXPECT_EQ(answer.keys[2], 0);
    EXPECT_FALSE(protocol::DecodeInputReport(0x02, nullptr, 0).isConfigAnswer);
    EXPECT_FALSE(protocol::DecodeInputReport(0x02, nullptr, 7).isConfigAnswer);
}

struct DisplayCase {
    std::uint8_t modifiers, key1, key2, key3;
    const char* text;
};

class DisplayCases : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayCases, FollowsTheDeviceDisplayRule) {
    const auto& c = GetParam();
    const auto answer = Decode({0x81, 0x00, c.modifiers, c.key1, c.key2, c.key3, 0x00});
    EXPECT_EQ(protocol::AnswerDisplayText(answer), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DisplayCases,
    testing::Values(
        DisplayCase{0x02, 0x04, 0x00, 0x00, "Shift+A"},
        DisplayCase{0x03, 0x00, 0x00, 0x00, "Ctrl+Shift"},
        DisplayCase{0x00, 0x1E, 0xFF, 0xFF, "1"},
        DisplayCase{0x00, 0x04, 0x05, 0x06, "A+B+C"},
        DisplayCase{0x05, 0x4C, 0x00, 0x00, "Ctrl+Alt+Delete"},
        DisplayCase{0x01, 0xFF, 0x05, 0x00, "Ctrl+B"},
        DisplayCase{0x00, 0x00, 0x00, 0x00, ""},
        DisplayCase{0x00, 0xFF, 0xFF, 0xFF, ""},
        DisplayCase{0x00, 0x32, 0x00, 0x00, "Non-US #"},
        DisplayCase{0x02, 0x64, 0x00, 0x00, "Shift+Non-US \\"},
        // A code without a name shows by its number.
        DisplayCase{0x00, 0x68, 0x00, 0x00, "Key 0x68"},
        DisplayCase{0x01, 0x02, 0x00, 0x00, "Ctrl+Key 0x02"},
        DisplayCase{0x00, 0x04, 0x66, 0x05, "A+Key 0x66+B"},
        // The rule appends "+" before a name even when nothing came first.
        DisplayCase{0x00, 0x00, 0x04, 0x00, "+A"},
        DisplayCase{0x00, 0xFF, 0x00, 0x05, "+B"},
        DisplayCase{0x88, 0x65, 0xE0, 0x00, "Left Windows+Right Windows+Application+Ctrl"}));

TEST(StoreAnswer, NamesTheKeysInTheGivenNamingAndKeepsTheBytes) {
    protocol::PedalConfigTable table;
    const auto answer = Decode({0x81, 0x00, 0x01, 0x1C, 0x00, 0x00, 0x00});
    ASSERT_TRUE(protocol::StoreAnswer(table, answer, keys::KeyNaming(keys::testing::GermanLetters())));
    EXPECT_EQ(table.KeyText(0), "Ctrl+Z");
    EXPECT_EQ(table.JoinedCodeText(0), "01-1C-00-00");
}

TEST(StoreAnswer, ShiftAAnswerFillsRowZero) {
    protocol::PedalConfigTable table;
    const auto answer = Decode({0x81, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00});
    ASSERT_TRUE(protocol::StoreAnswer(table, answer));
    EXPECT_EQ(table.Slot(0, 0), "02");
    EXPECT_EQ(table.Slot(0, 1), "04");
    EXPECT_EQ(table.Slot(0, 2), "00");
    EXPECT_EQ(table.Slot(0, 3), "00");
    EXPECT_EQ(table.KeyText(0), "Shift+A");
    EXPECT_EQ(protocol::VersionText(answer.versionCode), "V1.0.0");
}

TEST(StoreAnswer, CodesKeepNoKeyBytesAsTheyCame) {
    protocol::PedalConfigTable table;
    ASSERT_TRUE(protocol::StoreAnswer(table, Decode({0x81, 0x12, 0x00, 0x1E, 0xFF, 0xFF, 0})));
    EXPECT_EQ(table.JoinedCodeText(2), "00-1E-FF-FF");
    EXPECT_EQ(table.KeyText(2), "1");
    ASSERT_TRUE(protocol::StoreAnswer(table, Decode({0x81, 0x01, 0x01, 0x04, 0x00, 0xFF, 0})));
    EXPECT_EQ(table.JoinedCodeText(1), "01-04-00-FF");
    EXPECT_EQ(table.KeyText(1), "Ctrl+A");
    EXPECT_EQ(table.JoinedCodeText(0), "---");
}

TEST(StoreAnswer, NonAnswersAndIndicesWithoutRowLeaveTheTable) {
    protocol::PedalConfigTable table;
    table.SetKeyText(0, "keep");
    EXPECT_FALSE(protocol::StoreAnswer(table, Decode({0x80, 0x00, 0x02, 0x04, 0, 0, 0})));
    EXPECT_FALSE(protocol::StoreAnswer(table, Decode({0x81, 0x08, 0x02, 0x04, 0, 0, 0})));
    EXPECT_FALSE(protocol::StoreAnswer(table, Decode({0x81, 0x0F, 0x02, 0x04, 0, 0, 0})));
    EXPECT_EQ(table.KeyText(0), "keep");
    for (int row = 0; row < protocol::PedalConfigTable::kRowCount; ++row)
        EXPECT_EQ(table.JoinedCodeText(row), "---");
}

}  // namespace
