// Input reports of every shape, in exactly-sized heap buffers so that an
// address-sanitized build catches any read past the handed-over bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "protocol/AnswerDisplayText.h"
#include "protocol/AnswerStore.h"
#include "protocol/HistoryLine.h"
#include "protocol/PedalAnswer.h"

namespace {

std::unique_ptr<std::uint8_t[]> HeapBytes(std::size_t size, std::uint8_t fill) {
    auto bytes = std::make_unique<std::uint8_t[]>(size);
    std::memset(bytes.get(), fill, size);
    return bytes;
}

TEST(HostileInput, EveryStatusAndIndexByte) {
    protocol::PedalConfigTable table;
    for (int status = 0; status < 256; ++status) {
        for (int index = 0; index < 256; ++index) {
            auto data = HeapBytes(7, 0x00);
            data[0] = static_cast<std::uint8_t>(status);
            data[1] = static_cast<std::uint8_t>(index);
            data[2] = static_cast<std::uint8_t>(status ^ index);
            data[3] = static_cast<std::uint8_t>(index);
            data[4] = static_cast<std::uint8_t>(status);
            data[5] = static_cast<std::uint8_t>(255 - index);
            const auto answer = protocol::DecodeInputReport(0x02, data.get(), 7);
            ASSERT_EQ(answer.isConfigAnswer, status > 0x80);
            ASSERT_EQ(answer.pedalIndex, index & 0x0F);
            ASSERT_EQ(answer.versionCode, status & 0x0F);
            const bool stored = protocol::StoreAnswer(table, answer);
            ASSERT_EQ(stored, status > 0x80 && (index & 0x0F) < 8);
            (void)protocol::AnswerDisplayText(answer);
        }
    }
}

TEST(HostileInput, EverySizeUpTo255) {
    protocol::PedalConfigTable table;
    for (int size = 0; size < 256; ++size) {
        auto data = HeapBytes(static_cast<std::size_t>(size), 0xFF);
        if (size > 0) data[0] = 0x81;
        if (size > 1) data[1] = 0x03;
        const auto size16 = static_cast<std::uint16_t>(size);
        const auto answer = protocol::DecodeInputReport(0x02, data.get(), size16);

        ASSERT_EQ(answer.isConfigAnswer, size > 0);
        ASSERT_EQ(answer.pedalIndex, size > 1 ? 3 : 0);
        ASSERT_EQ(answer.modifiers, size > 2 ? 0xFF : 0x00);
        ASSERT_EQ(answer.keys[0], size > 3 ? 0xFF : 0x00);
        ASSERT_EQ(answer.keys[2], size > 5 ? 0xFF : 0x00);
        (void)protocol::StoreAnswer(table, answer);
        (void)protocol::AnswerDisplayText(answer);

        const std::string line = protocol::ReceivedHistoryLine(0x02, data.get(), size16);
        ASSERT_EQ(line.size(), 6u + 3u * static_cast<std::size_t>(size));
    }
}

TEST(HostileInput, RandomReportsOfRandomSize) {
    std::mt19937 random(20240601u);
    protocol::PedalConfigTable table;
    for (int round = 0; round < 20000; ++round) {
        const auto size = static_cast<std::uint16_t>(random() % 16);
        auto data = HeapBytes(size, 0);
        for (std::uint16_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(random());
        const auto reportId = static_cast<std::uint8_t>(random());
        const auto answer = protocol::DecodeInputReport(reportId, data.get(), size);
        (void)protocol::StoreAnswer(table, answer);
        (void)protocol::ReceivedHistoryLine(reportId, data.get(), size);
        for (int row = 0; row < protocol::PedalConfigTable::kRowCount; ++row) {
            const std::string joined = table.JoinedCodeText(row);
            ASSERT_TRUE(joined == "---" || joined.size() == 11u) << joined;
        }
    }
}

}  // namespace
