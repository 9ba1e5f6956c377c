// What a report descriptor says about one of its top-level collections.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace hid::platform::descriptor {

struct TopLevelCollection {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  // Report ids of the reports in this collection, ascending; empty when the
  // descriptor uses no report ids.
  std::vector<std::uint8_t> reportIds;
  // Ids of this collection's input reports, ascending; 0 stands for the
  // input report of a descriptor without report ids.
  std::vector<std::uint8_t> inputReportIds;
  // Byte lengths as the platform counts them: the largest report of the kind
  // in this collection, rounded up to bytes, plus one byte for the report id
  // (also when the descriptor has none). Zero when there is no such report.
  std::uint16_t inputReportByteLength = 0;
  std::uint16_t outputReportByteLength = 0;
  std::uint16_t featureReportByteLength = 0;

  bool OwnsReportId(std::uint8_t id) const {
    return std::binary_search(reportIds.begin(), reportIds.end(), id);
  }
};

}  // namespace hid::platform::descriptor
