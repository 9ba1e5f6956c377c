#include "hid/platform/linux/HidrawNodeInfo.h"

#include <cstdio>

#include "hid/platform/linux/ReportDescriptorSource.h"
#include "hid/platform/linux/SysfsFile.h"

namespace hid::platform::linux_ {

namespace {

// How far up a device tree the USB device is looked for.
constexpr int kMaxAncestors = 32;

std::optional<std::string> NonEmpty(std::optional<std::string> text) {
  if (!text || text->empty()) return std::nullopt;
  return text;
}

std::optional<std::string> NonEmpty(std::optional<std::string_view> text) {
  if (!text || text->empty()) return std::nullopt;
  return std::string(*text);
}

std::optional<std::uint16_t> Hex16(const std::optional<std::string>& text) {
  unsigned value = 0;
  char tail = 0;
  if (!text || std::sscanf(text->c_str(), "%x%c", &value, &tail) != 1 || value > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Uevent(const std::string& dir) { return ReadSysfsAttribute(dir + "/uevent").value_or(std::string()); }

// The nearest ancestor of `dir` (itself included) that is a USB device, as
// libudev's parent lookup for subsystem "usb", devtype "usb_device" finds it.
std::string UsbDeviceAbove(std::string dir) {
  for (int level = 0; level < kMaxAncestors && dir.size() > sizeof "/sys/devices" - 1; ++level) {
    if (UeventValue(Uevent(dir), "DEVTYPE") == std::string_view("usb_device")) return dir;
    dir = ParentPath(dir);
  }
  return {};
}

}  // namespace

std::string HidParentPath(const std::string& hidrawSyspath) {
  const std::string glue = ParentPath(hidrawSyspath);
  if (BaseName(glue) != "hidraw") return {};
  return ParentPath(glue);
}

HidrawNodeInfo DescribeHidrawNode(const std::string& syspath) {
  HidrawNodeInfo info;
  info.syspath = syspath;
  info.devnode = "/dev/" + BaseName(syspath);

  const std::string hid = HidParentPath(syspath);
  const std::string hidUevent = hid.empty() ? std::string() : Uevent(hid);
  if (!hidUevent.empty()) {
    info.hidSyspath = hid;
    // HID_ID=bus:vendor:product, each in hex ("0003:000016C0:000005E1").
    unsigned bus = 0, vendor = 0, product = 0;
    const std::string id(UeventValue(hidUevent, "HID_ID").value_or(std::string_view()));
    if (std::sscanf(id.c_str(), "%x:%x:%x", &bus, &vendor, &product) == 3) {
      info.vendorId = static_cast<std::uint16_t>(vendor & 0xFFFF);
      info.productId = static_cast<std::uint16_t>(product & 0xFFFF);
    }
    info.product = NonEmpty(UeventValue(hidUevent, "HID_NAME"));
    info.serial = NonEmpty(UeventValue(hidUevent, "HID_UNIQ"));
    info.descriptor = LoadReportDescriptor(hid, -1);

    const std::string usb = UsbDeviceAbove(ParentPath(hid));
    if (!usb.empty()) {
      info.version = Hex16(ReadSysfsAttribute(usb + "/bcdDevice"));
      if (auto text = NonEmpty(ReadSysfsAttribute(usb + "/product"))) info.product = std::move(text);
      if (auto text = NonEmpty(ReadSysfsAttribute(usb + "/serial"))) info.serial = std::move(text);
    }
  }
  return info;
}

}  // namespace hid::platform::linux_
