// Attributes, capabilities, strings and writes of main handles.
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <array>

#include "hid/platform/linux/tests/BackendTestbed.h"

namespace hid::platform::linux_::fakes {
namespace {

using LinuxDeviceHandle = BackendTestbed;

TEST_F(LinuxDeviceHandle, AttributesComeFromTheHidAndUsbParents) {
  auto& node = bed.Plug(FakePedal::Description());
  for (bool readWrite : {true, false}) {
    SCOPED_TRACE(readWrite ? "read/write" : "no access rights");
    int error = -1;
    auto handle = backend.Open("/dev/hidraw0", readWrite, &error);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(error, 0);
    HIDD_ATTRIBUTES attributes;
    ASSERT_TRUE(handle->GetAttributes(attributes));
    EXPECT_EQ(attributes.Size, 12u);
    EXPECT_EQ(attributes.VendorID, 0x16C0);
    EXPECT_EQ(attributes.ProductID, 0x05E1);
    EXPECT_EQ(attributes.VersionNumber, 0x0100);
  }
  // sysfs says it all: the node is not asked.
  EXPECT_EQ(node.IoctlCalls(HIDIOCGRAWINFO), 0u);
}

TEST_F(LinuxDeviceHandle, VirtualDeviceWithoutUsbParentIsIdentifiedFromItsHidParent) {
  FakeDeviceDescription d = FakePedal::Description("VIRT-7");
  d.usbParent = false;
  d.manufacturer.clear();
  d.product = "Pedal Simulator";
  bed.Plug(d);
  auto handle = backend.Open("/dev/hidraw0", false);
  ASSERT_NE(handle, nullptr);
  HIDD_ATTRIBUTES attributes;
  ASSERT_TRUE(handle->GetAttributes(attributes));
  EXPECT_EQ(attributes.VendorID, 0x16C0);
  EXPECT_EQ(attributes.ProductID, 0x05E1);
  EXPECT_EQ(attributes.VersionNumber, 0);

  std::array<WideChar, 254> buffer{};
  ASSERT_TRUE(handle->GetProductString(buffer.data(), 508));
  EXPECT_EQ(Text(buffer.data(), buffer.size()), u"Pedal Simulator");
  ASSERT_TRUE(handle->GetSerialNumberString(buffer.data(), 508));
  EXPECT_EQ(Text(buffer.data(), buffer.size()), u"VIRT-7");
}

TEST_F(LinuxDeviceHandle, CapsOfEveryKindOfDevice) {
  bed.Plug(FakePedal::Description());
  bed.Plug(Keyboard());
  bed.Plug(Mouse());
  auto& composite = bed.Plug(Composite());
  struct Expected {
    const char* path;
    std::uint16_t page, usage, in, out;
  };
  const Expected expected[] = {
      {"/dev/hidraw0", 0xFF00, 0x01, 8, 8},      {"/dev/hidraw1", 0x01, 0x06, 9, 2},
      {"/dev/hidraw2", 0x01, 0x02, 4, 0},        {"/dev/hidraw3#col1", 0x01, 0x06, 9, 2},
      {"/dev/hidraw3#col2", 0xFF00, 0x01, 8, 8}, {"/dev/hidraw3#col3", 0x0C, 0x01, 3, 0},
  };
  for (bool readWrite : {true, false}) {
    for (const auto& e : expected) {
      SCOPED_TRACE(std::string(e.path) + (readWrite ? " read/write" : " no access rights"));
      auto handle = backend.Open(e.path, readWrite);
      ASSERT_NE(handle, nullptr);
      HIDP_CAPS caps;
      ASSERT_TRUE(handle->GetCaps(caps)) << handle->ErrorText();
      EXPECT_EQ(caps.UsagePage, e.page);
      EXPECT_EQ(caps.Usage, e.usage);
      EXPECT_EQ(caps.InputReportByteLength, e.in);
      EXPECT_EQ(caps.OutputReportByteLength, e.out);
      EXPECT_EQ(caps.FeatureReportByteLength, 0);
    }
  }
  // The descriptor comes from sysfs, not from the node.
  EXPECT_EQ(composite.IoctlCalls(HIDIOCGRDESC), 0u);

  auto beyond = backend.Open("/dev/hidraw3#col4", false);
  ASSERT_NE(beyond, nullptr);
  HIDP_CAPS caps{};
  EXPECT_FALSE(beyond->GetCaps(caps));
  EXPECT_EQ(beyond->LastError(), ENOENT);
}

TEST_F(LinuxDeviceHandle, StringsAndTheLanguageList) {
  bed.Plug(FakePedal::Description("FS-Ω42"));
  auto handle = backend.Open("/dev/hidraw0", true);
  ASSERT_NE(handle, nullptr);

  std::array<WideChar, 254> buffer;
  buffer.fill(0xFFFF);
  ASSERT_TRUE(handle->GetProductString(buffer.data(), 508));
  EXPECT_EQ(Text(buffer.data(), buffer.size()), u"Varnok foot switch") << "the USB product, not HID_NAME";
  ASSERT_TRUE(handle->GetSerialNumberString(buffer.data(), 508));
  EXPECT_EQ(Text(buffer.data(), buffer.size()), u"FS-Ω42");

  // The language list, as the device layer asks for it: into 0xFF bytes.
  buffer.fill(0xFFFF);
  ASSERT_TRUE(handle->GetIndexedString(0, buffer.data(), 508));
  EXPECT_EQ(buffer[0], 0x0409);
  EXPECT_EQ(buffer[1], 0x0000);
  EXPECT_EQ(buffer[2], 0xFFFF) << "nothing written past the terminator";
  EXPECT_EQ(buffer[253], 0xFFFF);

  EXPECT_FALSE(handle->GetIndexedString(1, buffer.data(), 508));
  EXPECT_EQ(handle->LastError(), EINVAL);
}

TEST_F(LinuxDeviceHandle, StringsAreCutToTheBufferAndMissingOnesFail) {
  FakeDeviceDescription d = Mouse();  // no manufacturer, no serial
  bed.Plug(d);
  auto handle = backend.Open("/dev/hidraw0", false);
  ASSERT_NE(handle, nullptr);

  std::array<WideChar, 8> buffer;
  buffer.fill(0xFFFF);
  ASSERT_TRUE(handle->GetProductString(buffer.data(), 6));
  EXPECT_EQ(buffer[0], u'O');
  EXPECT_EQ(buffer[2], u't');
  EXPECT_EQ(buffer[3], 0xFFFF) << "three units fit, no room for a terminator";
  EXPECT_FALSE(handle->GetProductString(buffer.data(), 1));

  EXPECT_FALSE(handle->GetSerialNumberString(buffer.data(), 16));
  EXPECT_EQ(handle->LastError(), ENODATA);
  EXPECT_FALSE(handle->ErrorText().empty());
}

TEST_F(LinuxDeviceHandle, DeviceWithoutStringsHasNoLanguageList) {
  FakeDeviceDescription d = Mouse();
  d.usbParent = false;
  d.product.clear();
  bed.Plug(d);
  auto handle = backend.Open("/dev/hidraw0", false);
  ASSERT_NE(handle, nullptr);
  std::array<WideChar, 254> buffer{};
  EXPECT_FALSE(handle->GetProductString(buffer.data(), 508));
  EXPECT_FALSE(handle->GetIndexedString(0, buffer.data(), 508));
}

TEST_F(LinuxDeviceHandle, WriteSendsTheWholeReport) {
  auto& node = bed.Plug(FakePedal::Description());
  auto handle = backend.Open("/dev/hidraw0", true);
  ASSERT_NE(handle, nullptr);
  const std::uint8_t report[8] = {0x02, 0x02, 0x01, 0x02, 0x04, 0x00, 0x00, 0x00};
  std::uint32_t written = 99;
  ASSERT_TRUE(handle->Write(report, sizeof report, &written)) << handle->ErrorText();
  EXPECT_EQ(written, 8u);
  const auto sent = node.Written();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], std::vector<std::uint8_t>(report, report + 8));

  EXPECT_FALSE(handle->Write(report, 0, &written));
  EXPECT_EQ(handle->LastError(), EINVAL);
}

TEST_F(LinuxDeviceHandle, UnpluggedDeviceNoLongerOpensOrTakesWrites) {
  auto& node = bed.Plug(FakePedal::Description());
  auto handle = backend.Open("/dev/hidraw0", true);
  ASSERT_NE(handle, nullptr);
  bed.Unplug(node);

  const std::uint8_t report[8] = {0x02, 0x01};
  std::uint32_t written = 99;
  EXPECT_FALSE(handle->Write(report, sizeof report, &written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(handle->LastError(), ENODEV);

  int error = 0;
  EXPECT_EQ(backend.Open("/dev/hidraw0", false, &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(backend.Open("/dev/hidraw9", true, &error), nullptr);
  EXPECT_EQ(error, ENOENT);
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
