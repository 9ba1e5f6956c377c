// Lines of the report history, one per report:
//   sent      "W %.2X  " with the report id, then "%.2X " per further byte written
//   received  "R %.2X  " with the report id, then "%.2X " per data byte
// e.g. a fully written read request for pedal 1: "W 02  01 01 00 00 00 00 00 ".
#pragma once

#include <cstdint>
#include <string>

#include "protocol/PedalReport.h"

namespace protocol {

// `report` points at an 8-byte output report; `written` is the byte count the
// device layer reported, report id included (0 when nothing was written: the
// line then holds the report id alone). Counts above 8 are taken as 8; a null
// report counts as all zero bytes.
std::string SentHistoryLine(const std::uint8_t* report, std::uint32_t written);
std::string SentHistoryLine(const PedalReport& report, std::uint32_t written);

// `data` holds the `size` bytes after the report id; null data logs no bytes.
std::string ReceivedHistoryLine(std::uint8_t reportId, const std::uint8_t* data,
                                std::uint16_t size);

}  // namespace protocol
