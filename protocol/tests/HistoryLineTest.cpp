#include "protocol/HistoryLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using protocol::PedalReport;

struct SentCase {
    PedalReport report;
    std::uint32_t written;
    const char* line;
};

class SentLineCases : public testing::TestWithParam<SentCase> {};

TEST_P(SentLineCases, ListsReportIdThenWrittenBytes) {
    EXPECT_EQ(protocol::SentHistoryLine(GetParam().report, GetParam().written),
              GetParam().line);
    EXPECT_EQ(protocol::SentHistoryLine(GetParam().report.data(), GetParam().written),
              GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SentLineCases,
    testing::Values(
        SentCase{protocol::BuildReadRequest(1), 8, "W 02  01 01 00 00 00 00 00 "},
        SentCase{{0x02, 0x01, 0x01, 0x00, 0xE0, 0x04, 0x00, 0x00}, 8,
                 "W 02  01 01 00 E0 04 00 00 "},
        SentCase{{0x02, 0x02, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00}, 0, "W 02  "},
        SentCase{{0x02, 0x02, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00}, 1, "W 02  "},
        SentCase{{0x02, 0x02, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00}, 3, "W 02  02 00 "},
        SentCase{{0x02, 0xAB, 0xCD, 0xEF, 0x0A, 0x0B, 0x0C, 0xFF}, 9,
                 "W 02  AB CD EF 0A 0B 0C FF "},
        SentCase{{0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 0xFFFFFFFFu,
                 "W 02  01 00 00 00 00 00 00 "}));

TEST(SentHistoryLine, NullReportCountsAsZeroBytes) {
    EXPECT_EQ(protocol::SentHistoryLine(nullptr, 3), "W 00  00 00 ");
}

TEST(ReceivedHistoryLine, ListsReportIdThenEveryDataByte) {
    const std::vector<std::uint8_t> answer{0x81, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00};
    EXPECT_EQ(protocol::ReceivedHistoryLine(0x02, answer.data(), 7),
              "R 02  81 00 02 04 00 00 00 ");
    EXPECT_EQ(protocol::ReceivedHistoryLine(0xFE, answer.data(), 2), "R FE  81 00 ");
    EXPECT_EQ(protocol::ReceivedHistoryLine(0x02, answer.data(), 0), "R 02  ");
    EXPECT_EQ(protocol::ReceivedHistoryLine(0x02, nullptr, 0), "R 02  ");
    EXPECT_EQ(protocol::ReceivedHistoryLine(0x02, nullptr, 5), "R 02  ");
}

}  // namespace
