// What a fake HID device on the umockdev testbed looks like to sysfs, udev and
// the hidraw ioctls. Texts are single-line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hid::platform::linux_::fakes {

struct FakeDeviceDescription {
  std::uint16_t vendorId = 0x16C0;
  std::uint16_t productId = 0x05E1;
  std::uint16_t bcdDevice = 0x0100;  // the USB device's release number
  std::string manufacturer;          // USB manufacturer; empty: none
  std::string product;               // USB product; HID_NAME is "manufacturer product"
  std::string serial;                // USB serial and HID_UNIQ; empty: none
  std::vector<std::uint8_t> reportDescriptor;
  // false: a virtual (uhid) device: no USB parents, bus BUS_VIRTUAL, and
  // HID_NAME / HID_UNIQ are its only strings.
  bool usbParent = true;
};

}  // namespace hid::platform::linux_::fakes
