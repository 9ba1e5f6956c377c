#include "hid/platform/linux/HidrawNodeInfo.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace hid::platform::linux_ {

namespace {

std::optional<std::string> NonEmpty(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  return std::string(text);
}

std::optional<std::uint16_t> Hex16(const char* text) {
  unsigned value = 0;
  char tail = 0;
  if (text == nullptr || std::sscanf(text, "%x%c", &value, &tail) != 1 || value > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

bool IsSubsystem(const UdevLibrary& lib, struct udev_device* device, const char* subsystem) {
  const char* s = lib.udev_device_get_subsystem(device);
  return s != nullptr && std::strcmp(s, subsystem) == 0;
}

}  // namespace

HidrawNodeInfo DescribeHidrawDevice(const UdevLibrary& lib, struct udev_device* hidraw) {
  HidrawNodeInfo info;
  if (const char* node = lib.udev_device_get_devnode(hidraw)) info.devnode = node;
  if (const char* path = lib.udev_device_get_syspath(hidraw)) info.syspath = path;

  // Parents belong to the child device; they are not unreferenced here.
  struct udev_device* hid = lib.udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
  if (hid != nullptr) {
    if (const char* path = lib.udev_device_get_syspath(hid)) info.hidSyspath = path;
    // HID_ID=bus:vendor:product, each in hex ("0003:000016C0:000005E1").
    unsigned bus = 0, vendor = 0, product = 0;
    const char* id = lib.udev_device_get_property_value(hid, "HID_ID");
    if (id != nullptr && std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) == 3) {
      info.vendorId = static_cast<std::uint16_t>(vendor & 0xFFFF);
      info.productId = static_cast<std::uint16_t>(product & 0xFFFF);
    }
    info.product = NonEmpty(lib.udev_device_get_property_value(hid, "HID_NAME"));
    info.serial = NonEmpty(lib.udev_device_get_property_value(hid, "HID_UNIQ"));
  }

  struct udev_device* usb = lib.udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");
  if (usb != nullptr) {
    info.version = Hex16(lib.udev_device_get_sysattr_value(usb, "bcdDevice"));
    if (auto product = NonEmpty(lib.udev_device_get_sysattr_value(usb, "product"))) info.product = product;
    if (auto serial = NonEmpty(lib.udev_device_get_sysattr_value(usb, "serial"))) info.serial = serial;
  }
  return info;
}

UdevDevicePtr FindHidrawDevice(const UdevLibrary& lib, const std::string& node) {
  struct stat st {};
  if (::stat(node.c_str(), &st) != 0) return {};
  if (S_ISCHR(st.st_mode)) {
    UdevDevicePtr byNumber(lib, lib.udev_device_new_from_devnum(lib.context(), 'c', st.st_rdev));
    if (byNumber && IsSubsystem(lib, byNumber.get(), "hidraw")) return byNumber;
  }
  const auto slash = node.rfind('/');
  const std::string name = slash == std::string::npos ? node : node.substr(slash + 1);
  UdevDevicePtr byName(lib, lib.udev_device_new_from_subsystem_sysname(lib.context(), "hidraw", name.c_str()));
  return byName;
}

}  // namespace hid::platform::linux_
