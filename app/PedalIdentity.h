// What makes a HID device a pedal, and how a pedal is named in the lists.
// A pedal has vendor id 0x16C0, product id 0x05E1 and 8-byte reports; the
// two filters differ in the report length they test.
#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace hid {
class THidDevice;
}

namespace app {

inline constexpr std::uint16_t kPedalVendorId = 0x16C0;
inline constexpr std::uint16_t kPedalProductId = 0x05E1;
inline constexpr std::uint16_t kPedalReportLength = 8;

// Enumeration filter: the ids, then the output report length (the
// capabilities are read only when both ids match).
bool IsListedPedal(hid::THidDevice& device);

// Fallback filter of the check-out after a scan that listed no pedal: the
// ids, then the input report length. A plain function, as the controller
// takes it.
bool IsFallbackPedal(hid::THidDevice* device);

// The pedal's own keyboard collection, which types its assignments: the
// ids, then the generic desktop keyboard usage.
bool IsPedalKeyboard(hid::THidDevice& device);

// The product string, then " (SN:<serial>)" when the serial is not empty.
QString PedalDescription(const std::u16string& product, const std::u16string& serial);

}  // namespace app
