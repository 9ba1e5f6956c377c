#include "sim/PedalFirmware.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "protocol/AnswerDisplayText.h"
#include "protocol/PedalAnswer.h"
#include "protocol/PedalReport.h"

namespace {

using sim::PedalFirmware;
using Report = PedalFirmware::Report;
using Bytes = std::vector<std::uint8_t>;

std::vector<Report> Send(PedalFirmware& firmware, const Bytes& bytes) {
    // Exactly-sized heap copy so that a sanitized build sees any over-read.
    auto copy = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return firmware.HandleOutputReport(copy.get(), bytes.size());
}

std::vector<Report> Send(PedalFirmware& firmware, const protocol::PedalReport& report) {
    return Send(firmware, Bytes(report.begin(), report.end()));
}

std::string ShownText(const Report& reply) {
    const auto answer = protocol::DecodeInputReport(reply[0], reply.data() + 1, 7);
    return answer.isConfigAnswer ? protocol::AnswerDisplayText(answer) : "<not an answer>";
}

TEST(PedalFirmware, StartsWithRecognisableAssignmentsAndNames) {
    PedalFirmware firmware;
    EXPECT_EQ(firmware.Product(), "Varnok foot switch");
    EXPECT_EQ(firmware.Serial(), "VK0001");
    EXPECT_EQ(PedalFirmware("VK0042").Serial(), "VK0042");

    const char* expected[] = {"Ctrl+C", "Ctrl+V", "Enter"};
    for (int pedal = 0; pedal < 3; ++pedal) {
        const auto replies = Send(firmware, protocol::BuildReadRequest(pedal));
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(ShownText(replies[0]), expected[pedal]);
    }
}

TEST(PedalFirmware, AnswersReadRequestWithStoredBytes) {
    PedalFirmware firmware;
    const auto replies = Send(firmware, Bytes{0x02, 0x01, 0x01, 0, 0, 0, 0, 0});
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], (Report{0x02, 0x81, 0x01, 0x01, 0x19, 0x00, 0x00, 0x00}));
}

TEST(PedalFirmware, ReadWriteReadRoundTrip) {
    PedalFirmware firmware;
    protocol::PedalConfigTable table;
    table.SetRowBytes(2, {0x03, 0x04, 0x05, 0x06});

    EXPECT_EQ(ShownText(Send(firmware, protocol::BuildReadRequest(2)).at(0)), "Enter");
    EXPECT_TRUE(Send(firmware, protocol::BuildWriteReport(table, 2)).empty());
    EXPECT_EQ(firmware.GetSlot(2), (PedalFirmware::Slot{0x03, 0x04, 0x05, 0x06}));
    EXPECT_EQ(firmware.WriteCount(), 1u);

    const auto replies = Send(firmware, protocol::BuildReadRequest(2));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], (Report{0x02, 0x81, 0x02, 0x03, 0x04, 0x05, 0x06, 0x00}));
    EXPECT_EQ(ShownText(replies[0]), "Ctrl+Shift+A+B+C");
    // Other pedals are untouched.
    EXPECT_EQ(firmware.GetSlot(0), PedalFirmware::DefaultSlot(0));
    EXPECT_EQ(firmware.GetSlot(1), PedalFirmware::DefaultSlot(1));
}

TEST(PedalFirmware, IgnoresMalformedReports) {
    const std::vector<Bytes> malformed = {
        {},
        {0x02},
        {0x02, 0x01, 0x00},
        {0x02, 0x02, 0x00, 0x01, 0x04, 0x00, 0x00},  // write one byte short
        {0x01, 0x01, 0x00, 0, 0, 0, 0, 0},           // other report id
        {0x00, 0x02, 0x00, 0x01, 0x04, 0, 0, 0},
        {0x02, 0x03, 0x00, 0, 0, 0, 0, 0},  // unknown command
        {0x02, 0x00, 0x00, 0, 0, 0, 0, 0},
        {0x02, 0x81, 0x00, 0, 0, 0, 0, 0},
        {0x02, 0x01, 0x03, 0, 0, 0, 0, 0},  // pedal index out of range
        {0x02, 0x02, 0x03, 0x01, 0x04, 0, 0, 0},
        {0x02, 0x02, 0xFF, 0x01, 0x04, 0, 0, 0},
    };
    PedalFirmware firmware;
    for (const Bytes& report : malformed) EXPECT_TRUE(Send(firmware, report).empty());
    EXPECT_TRUE(firmware.HandleOutputReport(nullptr, 0).empty());
    EXPECT_TRUE(firmware.HandleOutputReport(nullptr, 8).empty());
    for (int pedal = 0; pedal < 3; ++pedal)
        EXPECT_EQ(firmware.GetSlot(pedal), PedalFirmware::DefaultSlot(pedal));
    EXPECT_EQ(firmware.ReadRequestCount(), 0u);
    EXPECT_EQ(firmware.WriteCount(), 0u);
}

TEST(PedalFirmware, AcceptsReportsLongerThanEightBytes) {
    PedalFirmware firmware;
    EXPECT_EQ(Send(firmware, Bytes{0x02, 0x01, 0x00, 0, 0, 0, 0, 0, 0xAA, 0xBB}).size(), 1u);
}

TEST(PedalFirmware, SlotAccessorsRejectOtherIndices) {
    PedalFirmware firmware;
    EXPECT_FALSE(firmware.SetSlot(3, {1, 2, 3, 4}));
    EXPECT_FALSE(firmware.SetSlot(-1, {1, 2, 3, 4}));
    EXPECT_EQ(firmware.GetSlot(3), (PedalFirmware::Slot{0, 0, 0, 0}));
    EXPECT_TRUE(firmware.SetSlot(1, {0x02, 0x04, 0, 0}));
    EXPECT_EQ(ShownText(Send(firmware, protocol::BuildReadRequest(1)).at(0)), "Shift+A");
}

TEST(PedalFirmwareOptions, SilentNeverAnswersButStillStores) {
    PedalFirmware firmware;
    firmware.SetOptions({.silent = true});
    protocol::PedalConfigTable table;
    table.SetRowBytes(0, {0x00, 0x04, 0x00, 0x00});
    for (int pedal = 0; pedal < 3; ++pedal)
        EXPECT_TRUE(Send(firmware, protocol::BuildReadRequest(pedal)).empty());
    EXPECT_TRUE(Send(firmware, protocol::BuildWriteReport(table, 0)).empty());
    EXPECT_EQ(firmware.GetSlot(0), (PedalFirmware::Slot{0x00, 0x04, 0x00, 0x00}));
    EXPECT_EQ(firmware.ReadRequestCount(), 3u);
}

TEST(PedalFirmwareOptions, AnswerIndexOffsetShiftsTheNamedPedal) {
    PedalFirmware firmware;
    firmware.SetOptions({.answerIndexOffset = 8});
    const auto replies = Send(firmware, protocol::BuildReadRequest(1));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0][2], 9);
    EXPECT_EQ(replies[0][3], 0x01);
    EXPECT_EQ(replies[0][4], 0x19);

    firmware.SetOptions({.answerIndexOffset = 1});
    EXPECT_EQ(Send(firmware, protocol::BuildReadRequest(2)).at(0)[2], 3);
}

TEST(PedalFirmwareOptions, NonAnswerReportPrecedesEachAnswer) {
    PedalFirmware firmware;
    firmware.SetOptions({.nonAnswerBeforeEach = true});
    const auto replies = Send(firmware, protocol::BuildReadRequest(0));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0][1], 0x80);
    EXPECT_EQ(ShownText(replies[0]), "<not an answer>");
    EXPECT_EQ(ShownText(replies[1]), "Ctrl+C");
    // Writes still get no reply at all.
    EXPECT_TRUE(Send(firmware, Bytes{0x02, 0x02, 0x00, 0, 0x04, 0, 0, 0}).empty());
}

TEST(PedalFirmwareOptions, DropsEveryNthReadRequest) {
    PedalFirmware firmware;
    firmware.SetOptions({.dropEveryNth = 3});
    std::vector<std::size_t> answered;
    for (int i = 0; i < 9; ++i)
        answered.push_back(Send(firmware, protocol::BuildReadRequest(i % 3)).size());
    EXPECT_EQ(answered, (std::vector<std::size_t>{1, 1, 0, 1, 1, 0, 1, 1, 0}));

    firmware.SetOptions({.dropEveryNth = 1});
    EXPECT_TRUE(Send(firmware, protocol::BuildReadRequest(0)).empty());
    EXPECT_EQ(firmware.GetOptions().dropEveryNth, 1u);
}

// A write lost on the way, or stored with a wrong byte, for one pedal only.
TEST(PedalFirmwareOptions, DropsOrAltersOnePedalsWrites) {
    struct Case {
        PedalFirmware::Options options;
        PedalFirmware::Slot stored;
    };
    const Case cases[] = {{{.dropWritesTo = 1}, PedalFirmware::DefaultSlot(1)},
                          {{.alterWritesTo = 1}, {0x01, 0x05, 0x00, 0x00}}};
    for (const Case& c : cases) {
        PedalFirmware firmware;
        firmware.SetOptions(c.options);
        protocol::PedalConfigTable table;
        for (int pedal = 0; pedal < 2; ++pedal) {
            table.SetRowBytes(pedal, {0x01, 0x04, 0x00, 0x00});
            EXPECT_TRUE(Send(firmware, protocol::BuildWriteReport(table, pedal)).empty());
        }
        EXPECT_EQ(firmware.GetSlot(0), (PedalFirmware::Slot{0x01, 0x04, 0x00, 0x00}));
        EXPECT_EQ(firmware.GetSlot(1), c.stored);
        EXPECT_EQ(firmware.WriteCount(), 2u);
    }
}

}  // namespace
