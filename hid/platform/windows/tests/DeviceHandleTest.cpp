// The interface snapshot and the main handle: attributes, caps, strings,
// writes, refused access, unplugged devices.
#include <cerrno>
#include <vector>

#include "hid/platform/windows/tests/FakeBusFixture.h"

namespace hid::platform::windows::test {
namespace {

class DeviceHandleTest : public FakeBusTest {
 protected:
  void SetUp() override { ASSERT_TRUE(backend.Load()) << backend.ErrorText(); }
  void TearDown() override {
    backend.Release();
    FakeBusTest::TearDown();
  }

  std::vector<InterfaceDetail> Scan() {
    std::vector<InterfaceDetail> entries;
    auto snapshot = backend.GetPresentInterfaces();
    if (!snapshot) return entries;
    InterfaceDetail detail;
    for (std::uint32_t i = 0; snapshot->EnumDeviceInterface(i, detail); ++i) entries.push_back(detail);
    return entries;
  }

  static std::u16string Text(const WideChar* units) {
    std::u16string text;
    for (std::size_t i = 0; i < 254 && units[i] != 0; ++i) text.push_back(units[i]);
    return text;
  }
};

TEST_F(DeviceHandleTest, SnapshotListsThePresentInterfacesWithTheirIdentity) {
  auto pedalDevice = PedalDevice();
  pedalDevice.devInst = 0x1234;
  const PluggedDevice pedal = Plug(pedalDevice);
  const PluggedDevice keyboard = Plug(KeyboardDevice());
  auto unreadable = PedalDevice(L"VK0002");
  unreadable.detailFails = 1;
  Plug(unreadable);
  const PluggedDevice last = Plug(PedalDevice(L"VK0003"));

  // The interface whose detail cannot be read is left out; the listing goes on.
  auto entries = Scan();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].DevicePath, pedal.path);
  EXPECT_EQ(entries[0].DevInst, 0x1234u);
  EXPECT_EQ(entries[1].DevicePath, keyboard.path);
  EXPECT_EQ(entries[2].DevicePath, last.path);
  EXPECT_NE(entries[1].DevInst, entries[2].DevInst);

  FakeHidBus_Unplug(pedal.id);
  entries = Scan();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].DevicePath, keyboard.path);

  FakeHidBus_SetSnapshotFails(1);
  EXPECT_EQ(backend.GetPresentInterfaces(), nullptr);
}

TEST_F(DeviceHandleTest, AttributesCapsAndStringsOfTheInterface) {
  const PluggedDevice pedal = Plug(PedalDevice());
  auto handle = backend.Open(pedal.path, false);
  ASSERT_NE(handle, nullptr) << backend.ErrorText();
  HIDD_ATTRIBUTES attributes;
  ASSERT_TRUE(handle->GetAttributes(attributes));
  EXPECT_EQ(attributes.Size, 12u);
  EXPECT_EQ(attributes.VendorID, 0x16C0);
  EXPECT_EQ(attributes.ProductID, 0x05E1);
  EXPECT_EQ(attributes.VersionNumber, 0x0101);
  HIDP_CAPS caps;
  ASSERT_TRUE(handle->GetCaps(caps));
  EXPECT_EQ(caps.InputReportByteLength, 8);
  EXPECT_EQ(caps.OutputReportByteLength, 8);
  EXPECT_EQ(caps.FeatureReportByteLength, 0);
  EXPECT_EQ(caps.UsagePage, 0xFF00);

  WideChar buffer[254] = {};
  ASSERT_TRUE(handle->GetProductString(buffer, sizeof buffer));
  EXPECT_EQ(Text(buffer), u"Varnok foot switch");
  std::fill(std::begin(buffer), std::end(buffer), WideChar(0));
  ASSERT_TRUE(handle->GetSerialNumberString(buffer, sizeof buffer));
  EXPECT_EQ(Text(buffer), u"VK0001");
  std::fill(std::begin(buffer), std::end(buffer), WideChar(0xFFFF));
  ASSERT_TRUE(handle->GetIndexedString(0, buffer, sizeof buffer));
  EXPECT_EQ(buffer[0], 0x0409);
  EXPECT_EQ(buffer[1], 0);

  // A device without a serial number: the request fails, and says so.
  auto bare = PedalDevice(L"");
  auto other = backend.Open(Plug(bare).path, false);
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(other->GetSerialNumberString(buffer, sizeof buffer));
  EXPECT_NE(other->ErrorText().find("HidD_GetSerialNumberString"), std::string::npos) << other->ErrorText();
}

TEST_F(DeviceHandleTest, AWriteReachesThePedalWhole) {
  const PluggedDevice pedal = Plug(PedalDevice());
  auto handle = backend.Open(pedal.path, true);
  ASSERT_NE(handle, nullptr) << backend.ErrorText();
  const std::uint8_t report[8] = {0x02, 0x02, 0x01, 0x05, 0x04, 0x00, 0x00, 0x00};  // pedal 2: Ctrl+Alt+A
  std::uint32_t written = 0;
  ASSERT_TRUE(handle->Write(report, sizeof report, &written)) << handle->ErrorText();
  EXPECT_EQ(written, 8u);
  ASSERT_TRUE(WaitFor([&] { return FakeHidBus_OutputReports(pedal.id) == 1; }));
  std::uint8_t slot[4] = {};
  ASSERT_TRUE(FakeHidBus_Slot(pedal.id, 1, slot));
  EXPECT_EQ(std::vector<std::uint8_t>(slot, slot + 4), (std::vector<std::uint8_t>{0x05, 0x04, 0x00, 0x00}));
}

// A collection the system keeps for itself opens without access rights only:
// enough to identify it, not to write to it.
TEST_F(DeviceHandleTest, RefusedAccessIsEaccesAndTheDeviceStillIdentifies) {
  const PluggedDevice keyboard = Plug(KeyboardDevice());
  int error = 0;
  std::uint32_t native = 0;
  EXPECT_EQ(backend.Open(keyboard.path, true, &error, &native), nullptr);
  EXPECT_EQ(error, EACCES);
  EXPECT_EQ(native, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_NE(backend.ErrorText().find("(error 5)"), std::string::npos) << backend.ErrorText();
  auto handle = backend.Open(keyboard.path, false, &error);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(error, 0);
  HIDD_ATTRIBUTES attributes;
  ASSERT_TRUE(handle->GetAttributes(attributes));
  EXPECT_EQ(attributes.VendorID, 0x046D);
  const std::uint8_t report[2] = {0x00, 0x01};
  std::uint32_t written = 7;
  EXPECT_FALSE(handle->Write(report, sizeof report, &written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(handle->LastError(), EACCES);
  EXPECT_EQ(handle->NativeError(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_NE(handle->ErrorText().find("WriteFile on " + keyboard.path), std::string::npos) << handle->ErrorText();
}

TEST_F(DeviceHandleTest, AnUnpluggedDeviceNeitherOpensNorTakesWrites) {
  const PluggedDevice pedal = Plug(PedalDevice());
  auto handle = backend.Open(pedal.path, true);
  ASSERT_NE(handle, nullptr);
  FakeHidBus_Unplug(pedal.id);
  const std::uint8_t report[8] = {0x02, 0x01};
  std::uint32_t written = 0;
  EXPECT_FALSE(handle->Write(report, sizeof report, &written));
  EXPECT_EQ(handle->LastError(), ENODEV);
  HIDD_ATTRIBUTES attributes;
  EXPECT_FALSE(handle->GetAttributes(attributes));
  int error = 0;
  EXPECT_EQ(backend.Open(pedal.path, false, &error), nullptr);
  EXPECT_EQ(error, ENODEV);
  EXPECT_EQ(backend.OpenRead(pedal.path, &error), nullptr);
  EXPECT_EQ(error, ENODEV);
}

}  // namespace
}  // namespace hid::platform::windows::test
