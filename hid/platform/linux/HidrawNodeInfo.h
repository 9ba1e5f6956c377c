// What sysfs tells about one hidraw node: its hid parent (identity, HID_ID,
// HID_NAME, HID_UNIQ, report descriptor) and, where there is one, its USB
// device parent (bcdDevice, product, serial). Virtual (uhid) devices have no
// USB parent.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "hid/platform/descriptor/ReportDescriptor.h"

namespace hid::platform::linux_ {

struct HidrawNodeInfo {
  std::string devnode;     // "/dev/hidraw3"
  std::string syspath;     // the hidraw device, "/sys/devices/.../hidraw/hidraw3"
  std::string hidSyspath;  // the parent hid device; empty when there is none
  std::optional<std::uint16_t> vendorId;   // HID_ID
  std::optional<std::uint16_t> productId;  // HID_ID
  std::optional<std::uint16_t> version;    // the USB parent's bcdDevice
  std::optional<std::string> product;      // USB product, else HID_NAME; never empty
  std::optional<std::string> serial;       // USB serial, else HID_UNIQ; never empty
  // The hid parent's report_descriptor, parsed; null when it cannot be read.
  std::shared_ptr<const descriptor::ReportDescriptor> descriptor;

  // The sys path that identifies the device across scans.
  const std::string& IdentityPath() const { return hidSyspath.empty() ? syspath : hidSyspath; }
};

// Reads the node whose hidraw device is at `syspath` ("/sys/devices/...").
// Its devnode is "/dev/" + the device's name.
HidrawNodeInfo DescribeHidrawNode(const std::string& syspath);

// The hid device above a hidraw device ("<hid>/hidraw/hidrawN"); empty when
// the layout is not that.
std::string HidParentPath(const std::string& hidrawSyspath);

}  // namespace hid::platform::linux_
