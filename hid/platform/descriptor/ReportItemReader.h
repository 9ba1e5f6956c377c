// Splits a report descriptor into short and long items without reading past
// its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "hid/platform/descriptor/ReportItem.h"

namespace hid::platform::descriptor {

class ReportItemReader {
 public:
  explicit ReportItemReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  enum class Status { Item, End, Truncated };

  // Reads the next item into `out`. End once every byte was consumed;
  // Truncated when an item's data runs past the end (the reader then stays there).
  Status Next(ReportItem& out);

  std::size_t Offset() const { return offset_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t offset_ = 0;
};

}  // namespace hid::platform::descriptor
