// A snapshot of the hidraw nodes present when it was taken: one entry per
// top-level collection of each node, read from sysfs.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/linux/DepartedNodes.h"
#include "hid/platform/linux/FoundNodes.h"

namespace hid::platform::linux_ {

class HidrawSnapshot final : public Snapshot {
 public:
  // Lists the hidraw devices once, leaving out those in `departed` (when
  // given), and records what it found at each node in `found` (when given).
  static std::unique_ptr<HidrawSnapshot> Take(DepartedNodes* departed = nullptr, FoundNodes* found = nullptr);

  explicit HidrawSnapshot(std::vector<InterfaceDetail> entries) : entries_(std::move(entries)) {}

  bool EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) override;
  std::size_t size() const { return entries_.size(); }

 private:
  std::vector<InterfaceDetail> entries_;
};

}  // namespace hid::platform::linux_
