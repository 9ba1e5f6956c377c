// The plug-and-play record of one HID interface, made by the controller's scan
// and owned by the device object.
#pragma once

#include <string>

#include "hid/platform/HidPlatform.h"

namespace hid {

struct THidPnPInfo {
  // Identifies the device across scans.
  platform::DeviceInstanceId DeviceInstance = 0;
  // The path every open of the device uses.
  std::string DevicePath;
};

}  // namespace hid
