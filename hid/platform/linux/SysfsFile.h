// Reading small sysfs files by path (report_descriptor and the like).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hid::platform::linux_ {

// The file's bytes, at most `limit` of them; nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadSysfsFile(const std::string& path, std::size_t limit);

}  // namespace hid::platform::linux_
