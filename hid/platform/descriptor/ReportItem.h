// One item of a HID report descriptor, as the item reader hands it out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hid::platform::descriptor {

enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3, Long = 4 };

struct ReportItem {
  ItemType type = ItemType::Main;
  std::uint8_t tag = 0;         // 4-bit tag of a short item, the tag byte of a long item
  std::uint8_t dataSize = 0;    // bytes of data (0, 1, 2 or 4 for short items)
  std::uint32_t data = 0;       // little-endian data, zero-extended (long items: 0)
  std::size_t offset = 0;       // offset of the prefix byte in the descriptor

  // The data read as a two's-complement number of dataSize bytes.
  std::int32_t SignedData() const {
    switch (dataSize) {
      case 1: return static_cast<std::int8_t>(data);
      case 2: return static_cast<std::int16_t>(data);
      default: return static_cast<std::int32_t>(data);
    }
  }
};

}  // namespace hid::platform::descriptor
