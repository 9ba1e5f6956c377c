#include "protocol/PedalAnswer.h"

namespace protocol {

PedalAnswer DecodeInputReport(std::uint8_t /*reportId*/, const std::uint8_t* data,
                              std::uint16_t size) {
    // Bytes 1..6 of the report; byte 7 is reserved and only logged.
    std::uint8_t bytes[7] = {};
    if (data != nullptr) {
        for (std::uint16_t i = 0; i < size && i < 6; ++i) bytes[i + 1] = data[i];
    }

    PedalAnswer answer;
    answer.isConfigAnswer = bytes[1] > kLastNonAnswerStatus;
    answer.versionCode = static_cast<std::uint8_t>(bytes[1] & 0x0F);
    answer.pedalIndex = static_cast<std::uint8_t>(bytes[2] & 0x0F);
    answer.modifiers = bytes[3];
    answer.keys[0] = bytes[4];
    answer.keys[1] = bytes[5];
    answer.keys[2] = bytes[6];
    return answer;
}

std::string_view VersionText(std::uint8_t versionCode) {
    return versionCode == 1 ? std::string_view("V1.0.0") : std::string_view();
}

}  // namespace protocol
