// A snapshot of the hidraw nodes present when it was taken: one entry per
// top-level collection of each node.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/linux/DepartedNodes.h"
#include "hid/platform/linux/UdevLibrary.h"

namespace hid::platform::linux_ {

class HidrawSnapshot final : public Snapshot {
 public:
  // Enumerates subsystem "hidraw" once, leaving out the devices in
  // `departed` (when given). nullptr when udev refuses.
  static std::unique_ptr<HidrawSnapshot> Take(const UdevLibrary& lib, DepartedNodes* departed = nullptr);

  explicit HidrawSnapshot(std::vector<InterfaceDetail> entries) : entries_(std::move(entries)) {}

  bool EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) override;
  std::size_t size() const { return entries_.size(); }

 private:
  std::vector<InterfaceDetail> entries_;
};

}  // namespace hid::platform::linux_
