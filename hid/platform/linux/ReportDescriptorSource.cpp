#include "hid/platform/linux/ReportDescriptorSource.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <memory>

#include "hid/platform/linux/SysfsFile.h"

namespace hid::platform::linux_ {

std::optional<std::vector<std::uint8_t>> ReadDescriptorFromNode(int fd) {
  int size = 0;
  if (fd < 0 || ::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0) return std::nullopt;
  if (size < 0 || size > HID_MAX_DESCRIPTOR_SIZE) return std::nullopt;
  auto request = std::make_unique<hidraw_report_descriptor>();
  request->size = static_cast<__u32>(size);
  if (::ioctl(fd, HIDIOCGRDESC, request.get()) < 0) return std::nullopt;
  const auto* bytes = request->value;
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

std::optional<std::vector<std::uint8_t>> ReadDescriptorFromSysfs(const std::string& hidSyspath) {
  if (hidSyspath.empty()) return std::nullopt;
  return ReadSysfsFile(hidSyspath + "/report_descriptor", HID_MAX_DESCRIPTOR_SIZE);
}

}  // namespace hid::platform::linux_
