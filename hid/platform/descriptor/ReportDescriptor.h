// Parsing of HID report descriptors into their top-level collections.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hid/platform/descriptor/TopLevelCollection.h"

namespace hid::platform::descriptor {

struct ReportDescriptor {
  std::vector<TopLevelCollection> collections;
  bool usesReportIds = false;
  // Empty when the descriptor is sound; otherwise what was wrong and where.
  // A malformed descriptor has no collections.
  std::string error;

  bool ok() const { return error.empty(); }
};

// Limits beyond which a descriptor counts as malformed.
inline constexpr std::uint32_t kMaxReportSizeBits = 256;     // one field's Report Size
inline constexpr std::uint32_t kMaxReportBytes = 16384;      // one report without its id byte
inline constexpr std::size_t kMaxGlobalStackDepth = 16;      // Push without Pop
inline constexpr std::size_t kMaxCollectionDepth = 64;       // nested collections

ReportDescriptor ParseReportDescriptor(std::span<const std::uint8_t> bytes);

}  // namespace hid::platform::descriptor
