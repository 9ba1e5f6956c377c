// Where a hidraw node's report descriptor comes from, for the main handle,
// the read handle and the scan alike: the hid parent's report_descriptor in
// sysfs (the descriptor as the device gave it, which is what describes the
// reports hidraw hands out), else the node's own ioctls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hid/platform/descriptor/ReportDescriptor.h"

namespace hid::platform::linux_ {

// <hidSyspath>/report_descriptor, else HIDIOCGRDESCSIZE + HIDIOCGRDESC on
// `fd` (when >= 0). The ioctl cannot hand out a descriptor of the full
// HID_MAX_DESCRIPTOR_SIZE bytes, which sysfs can.
std::optional<std::vector<std::uint8_t>> ReadReportDescriptor(const std::string& hidSyspath, int fd);

// The same, parsed; null when neither source gives it.
std::shared_ptr<const descriptor::ReportDescriptor> LoadReportDescriptor(const std::string& hidSyspath, int fd);

}  // namespace hid::platform::linux_
