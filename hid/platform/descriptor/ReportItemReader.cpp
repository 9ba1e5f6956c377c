#include "hid/platform/descriptor/ReportItemReader.h"

namespace hid::platform::descriptor {

namespace {
constexpr std::uint8_t kLongItemPrefix = 0xFE;
}

ReportItemReader::Status ReportItemReader::Next(ReportItem& out) {
  const std::size_t size = bytes_.size();
  if (offset_ >= size) return Status::End;
  const std::size_t start = offset_;
  const std::uint8_t prefix = bytes_[start];

  if (prefix == kLongItemPrefix) {
    // Prefix, data size, long tag, then the data; no long item tags are
    // defined, so the data is skipped.
    if (size - start < 3) {
      offset_ = size;
      return Status::Truncated;
    }
    const std::size_t dataSize = bytes_[start + 1];
    if (size - start - 3 < dataSize) {
      offset_ = size;
      return Status::Truncated;
    }
    out = ReportItem{};
    out.type = ItemType::Long;
    out.tag = bytes_[start + 2];
    out.dataSize = static_cast<std::uint8_t>(dataSize);
    out.offset = start;
    offset_ = start + 3 + dataSize;
    return Status::Item;
  }

  static constexpr std::uint8_t kSizes[4] = {0, 1, 2, 4};
  const std::uint8_t dataSize = kSizes[prefix & 0x03];
  if (size - start - 1 < dataSize) {
    offset_ = size;
    return Status::Truncated;
  }
  std::uint32_t data = 0;
  for (std::uint8_t i = 0; i < dataSize; ++i) {
    data |= static_cast<std::uint32_t>(bytes_[start + 1 + i]) << (8 * i);
  }
  out = ReportItem{};
  out.type = static_cast<ItemType>((prefix >> 2) & 0x03);
  out.tag = static_cast<std::uint8_t>(prefix >> 4);
  out.dataSize = dataSize;
  out.data = data;
  out.offset = start;
  offset_ = start + 1 + dataSize;
  return Status::Item;
}

}  // namespace hid::platform::descriptor
