// The present HID interfaces, listed through SetupDi* when the snapshot is
// taken: each interface's DevicePath and its DevInst, the identity of the
// device across rescans. An interface whose detail cannot be read is left out
// and the listing goes on with the next index.
#pragma once

#include <memory>
#include <vector>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/windows/HidLibraries.h"

namespace hid::platform::windows {

class SetupDiSnapshot final : public Snapshot {
 public:
  // nullptr when setupapi gives no device information set.
  static std::unique_ptr<SetupDiSnapshot> Take(const HidLibraries& libs);

  bool EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) override;

 private:
  explicit SetupDiSnapshot(std::vector<InterfaceDetail> entries) : entries_(std::move(entries)) {}

  std::vector<InterfaceDetail> entries_;
};

}  // namespace hid::platform::windows
