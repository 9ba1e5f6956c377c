#include "protocol/HistoryLine.h"

#include "protocol/HexText.h"

namespace protocol {
namespace {

std::string LineHead(char direction, std::uint8_t reportId, std::size_t groups) {
    std::string line;
    line.reserve(6 + 3 * groups);
    line += direction;
    line += ' ';
    AppendHexByte(line, reportId);
    line += "  ";
    return line;
}

}  // namespace

std::string SentHistoryLine(const std::uint8_t* report, std::uint32_t written) {
    const std::uint32_t count = written > kPedalReportSize
                                    ? static_cast<std::uint32_t>(kPedalReportSize)
                                    : written;
    const auto byteAt = [report](std::uint32_t i) -> std::uint8_t {
        return report != nullptr ? report[i] : 0;
    };
    std::string line = LineHead('W', byteAt(0), count);
    for (std::uint32_t i = 1; i < count; ++i) {
        AppendHexByte(line, byteAt(i));
        line += ' ';
    }
    return line;
}

std::string SentHistoryLine(const PedalReport& report, std::uint32_t written) {
    return SentHistoryLine(report.data(), written);
}

std::string ReceivedHistoryLine(std::uint8_t reportId, const std::uint8_t* data,
                                std::uint16_t size) {
    const std::uint16_t count = data != nullptr ? size : 0;
    std::string line = LineHead('R', reportId, count);
    for (std::uint16_t i = 0; i < count; ++i) {
        AppendHexByte(line, data[i]);
        line += ' ';
    }
    return line;
}

}  // namespace protocol
