// Where a hidraw node's report descriptor comes from: the node's ioctls when
// it is open, else the hid parent's report_descriptor file in sysfs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hid::platform::linux_ {

// HIDIOCGRDESCSIZE + HIDIOCGRDESC on an open hidraw fd.
std::optional<std::vector<std::uint8_t>> ReadDescriptorFromNode(int fd);

// <hidSyspath>/report_descriptor.
std::optional<std::vector<std::uint8_t>> ReadDescriptorFromSysfs(const std::string& hidSyspath);

}  // namespace hid::platform::linux_
