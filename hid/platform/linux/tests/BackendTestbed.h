// Test fixture: a loaded hidraw backend over a fresh umockdev testbed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hid/platform/descriptor/tests/KnownDescriptors.h"
#include "hid/platform/linux/LinuxHidBackend.h"
#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"

namespace hid::platform::linux_::fakes {

class BackendTestbed : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(backend.Load()) << backend.LoadErrorText(); }
  void TearDown() override { backend.Release(); }

  static FakeDeviceDescription Keyboard() {
    FakeDeviceDescription d;
    d.vendorId = 0x1209;
    d.productId = 0x0001;
    d.bcdDevice = 0x6400;
    d.manufacturer = "Example";
    d.product = "USB Keyboard";
    d.reportDescriptor = descriptor::known::kBootKeyboard;
    return d;
  }
  static FakeDeviceDescription Mouse() {
    FakeDeviceDescription d;
    d.vendorId = 0x1209;
    d.productId = 0x0002;
    d.bcdDevice = 0x0100;
    d.product = "Optical Mouse";
    d.reportDescriptor = descriptor::known::kBootMouse;
    return d;
  }
  static FakeDeviceDescription Composite() {
    FakeDeviceDescription d = FakePedal::Description("FSK0002");
    d.product = "FootSwitch Keyboard";
    d.reportDescriptor = descriptor::known::kCompositeKeyboard;
    return d;
  }

  std::vector<InterfaceDetail> Scan() {
    std::vector<InterfaceDetail> out;
    auto snapshot = backend.GetPresentInterfaces();
    EXPECT_NE(snapshot, nullptr);
    if (!snapshot) return out;
    InterfaceDetail detail;
    for (std::uint32_t i = 0; snapshot->EnumDeviceInterface(i, detail); ++i) out.push_back(detail);
    return out;
  }

  static std::u16string Text(const WideChar* buffer, std::size_t units) {
    std::u16string out;
    for (std::size_t i = 0; i < units && buffer[i] != 0; ++i) out.push_back(buffer[i]);
    return out;
  }

  FakeHidTestbed bed;
  LinuxHidBackend backend;
};

}  // namespace hid::platform::linux_::fakes
