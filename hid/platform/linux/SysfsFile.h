// Small reads of sysfs: attribute files, symlinks and uevent properties.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hid::platform::linux_ {

// The contents of a sysfs file, at most `limit` bytes; nullopt when it
// cannot be read.
std::optional<std::vector<std::uint8_t>> ReadSysfsFile(const std::string& path, std::size_t limit);

// An attribute's text without its trailing line end, as libudev gives it.
std::optional<std::string> ReadSysfsAttribute(const std::string& path);

// Where the sysfs symlink `link` points, as an absolute path with its ".."
// steps resolved ("/sys/devices/..."); nullopt when it is no symlink or its
// target does not exist.
std::optional<std::string> ResolveSysfsLink(const std::string& link);

// The folder above `path` ("/sys/a/b" -> "/sys/a"); empty at the top.
std::string ParentPath(const std::string& path);

// The value of `key` among the KEY=value lines of a uevent file's text.
std::optional<std::string_view> UeventValue(std::string_view uevent, std::string_view key);

}  // namespace hid::platform::linux_
