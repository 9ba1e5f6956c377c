#include "protocol/PedalReport.h"

#include "protocol/HexText.h"

namespace protocol {

PedalReport BuildReadRequest(int pedal) {
    return {kPedalReportId, kReadCommand, static_cast<std::uint8_t>(pedal), 0, 0, 0, 0, 0};
}

PedalReport BuildWriteReport(const PedalConfigTable& table, int pedal) {
    return {kPedalReportId,
            kWriteCommand,
            static_cast<std::uint8_t>(pedal),
            table.ByteOf(pedal, 0),
            table.ByteOf(pedal, 1),
            table.ByteOf(pedal, 2),
            table.ByteOf(pedal, 3),
            0};
}

PedalReport BuildDiagnosticReport(std::array<std::string, kDiagnosticFieldCount>& fields) {
    PedalReport report{};
    report[0] = kPedalReportId;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(ParseHexOrZero(fields[i]) & 0xFFu);
        report[i + 1] = byte;
        fields[i] = HexByteText(byte);
    }
    return report;
}

}  // namespace protocol
