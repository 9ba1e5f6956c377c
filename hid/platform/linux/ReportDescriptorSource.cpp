#include "hid/platform/linux/ReportDescriptorSource.h"

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include "hid/platform/linux/SysfsFile.h"

namespace hid::platform::linux_ {

namespace {

std::optional<std::vector<std::uint8_t>> FromNode(int fd) {
  int size = 0;
  if (fd < 0 || ::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0) return std::nullopt;
  // hidraw refuses to copy HID_MAX_DESCRIPTOR_SIZE bytes or more.
  if (size < 0 || size > HID_MAX_DESCRIPTOR_SIZE - 1) return std::nullopt;
  auto request = std::make_unique<hidraw_report_descriptor>();
  request->size = static_cast<__u32>(size);
  if (::ioctl(fd, HIDIOCGRDESC, request.get()) < 0) return std::nullopt;
  const auto* bytes = request->value;
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadReportDescriptor(const std::string& hidSyspath, int fd) {
  if (!hidSyspath.empty()) {
    if (auto bytes = ReadSysfsFile(hidSyspath + "/report_descriptor", HID_MAX_DESCRIPTOR_SIZE)) return bytes;
  }
  return FromNode(fd);
}

std::shared_ptr<const descriptor::ReportDescriptor> LoadReportDescriptor(const std::string& hidSyspath, int fd) {
  const auto bytes = ReadReportDescriptor(hidSyspath, fd);
  if (!bytes) return nullptr;
  return std::make_shared<const descriptor::ReportDescriptor>(descriptor::ParseReportDescriptor(*bytes));
}

}  // namespace hid::platform::linux_
