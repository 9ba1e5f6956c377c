// What sysfs and the uevent properties tell about one hidraw node: its hid
// parent (identity, HID_ID, HID_NAME, HID_UNIQ) and, where there is one, its
// USB device parent (bcdDevice, product, serial). Virtual (uhid) devices
// have no USB parent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "hid/platform/linux/UdevDevicePtr.h"
#include "hid/platform/linux/UdevLibrary.h"

namespace hid::platform::linux_ {

struct HidrawNodeInfo {
  std::string devnode;     // "/dev/hidraw3"
  std::string syspath;     // the hidraw device
  std::string hidSyspath;  // the parent hid device; empty when there is none
  std::optional<std::uint16_t> vendorId;   // HID_ID
  std::optional<std::uint16_t> productId;  // HID_ID
  std::optional<std::uint16_t> version;    // the USB parent's bcdDevice
  std::optional<std::string> product;      // USB product, else HID_NAME; never empty
  std::optional<std::string> serial;       // USB serial, else HID_UNIQ; never empty

  // The sys path that identifies the device across scans.
  const std::string& IdentityPath() const { return hidSyspath.empty() ? syspath : hidSyspath; }
};

HidrawNodeInfo DescribeHidrawDevice(const UdevLibrary& lib, struct udev_device* hidraw);

// The hidraw device of a node path: by the node's device number, else by its
// name in the hidraw class. Empty when the node is not a known hidraw device.
UdevDevicePtr FindHidrawDevice(const UdevLibrary& lib, const std::string& node);

}  // namespace hid::platform::linux_
