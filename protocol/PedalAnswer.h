// Input reports from the pedal. The HID layer hands them over as a report id
// (byte 0) and the bytes after it (bytes 1..). A report is a configuration
// answer exactly when its status byte (byte 1) is above 0x80.
#pragma once

#include <cstdint>
#include <string_view>

namespace protocol {

inline constexpr std::uint8_t kLastNonAnswerStatus = 0x80;

struct PedalAnswer {
    bool isConfigAnswer = false;
    std::uint8_t versionCode = 0;  // byte 1 & 0x0F
    std::uint8_t pedalIndex = 0;   // byte 2 & 0x0F
    std::uint8_t modifiers = 0;    // byte 3
    std::uint8_t keys[3] = {0, 0, 0};  // bytes 4..6
};

// Decodes any input report. Byte 0 is `reportId`, bytes 1..7 are data[0..6];
// a byte the report lacks counts as 0. `data` may be null when `size` is 0;
// a null `data` with a nonzero size is taken as a report without data bytes.
PedalAnswer DecodeInputReport(std::uint8_t reportId, const std::uint8_t* data,
                              std::uint16_t size);

// Firmware version shown for a version code: "V1.0.0" for code 1, else empty
// (the version display is then left as it was).
std::string_view VersionText(std::uint8_t versionCode);

}  // namespace protocol
