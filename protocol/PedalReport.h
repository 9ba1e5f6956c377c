// Output reports to the pedal: 8 bytes, report id first.
//   read request   02 01 p 00 00 00 00 00
//   write report   02 02 p m k1 k2 k3 00   (m, k1..k3 from the table row p)
//   diagnostic     02 b1 .. b7             (bytes from seven hex text fields)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/PedalConfigTable.h"

namespace protocol {

inline constexpr std::size_t kPedalReportSize = 8;
using PedalReport = std::array<std::uint8_t, kPedalReportSize>;

inline constexpr std::uint8_t kPedalReportId = 0x02;
inline constexpr std::uint8_t kReadCommand = 0x01;
inline constexpr std::uint8_t kWriteCommand = 0x02;

// Number of hex fields of the diagnostic panel (bytes 1..7).
inline constexpr std::size_t kDiagnosticFieldCount = 7;

// Byte 2 carries the low 8 bits of `pedal` (the program asks for 0..2).
PedalReport BuildReadRequest(int pedal);

// Bytes 3..6 are the byte values of row `pedal` of the table; a row out of
// range contributes zeros.
PedalReport BuildWriteReport(const PedalConfigTable& table, int pedal);

// Byte 0 is the report id; byte i is the low 8 bits of field i-1 read as
// hexadecimal (invalid or empty: 0). Each field is rewritten as the two
// upper-case digits of the byte it gave.
PedalReport BuildDiagnosticReport(std::array<std::string, kDiagnosticFieldCount>& fields);

}  // namespace protocol
