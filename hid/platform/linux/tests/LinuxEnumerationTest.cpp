// Snapshot contents and device identities on the testbed.
#include <set>

#include "hid/platform/linux/tests/BackendTestbed.h"

namespace hid::platform::linux_::fakes {
namespace {

using LinuxEnumeration = BackendTestbed;

TEST_F(LinuxEnumeration, EmptyTestbedGivesAnEmptySnapshot) {
  auto snapshot = backend.GetPresentInterfaces();
  ASSERT_NE(snapshot, nullptr);
  InterfaceDetail detail;
  EXPECT_FALSE(snapshot->EnumDeviceInterface(0, detail));
}

TEST_F(LinuxEnumeration, OneEntryPerTopLevelCollection) {
  bed.Plug(FakePedal::Description());
  bed.Plug(Keyboard());
  bed.Plug(Mouse());
  bed.Plug(Composite());

  const auto entries = Scan();
  std::vector<std::string> paths;
  for (const auto& e : entries) paths.push_back(e.DevicePath);
  EXPECT_EQ(paths, (std::vector<std::string>{"/dev/hidraw0", "/dev/hidraw1", "/dev/hidraw2", "/dev/hidraw3#col1",
                                             "/dev/hidraw3#col2", "/dev/hidraw3#col3"}));
  std::set<DeviceInstanceId> ids;
  for (const auto& e : entries) ids.insert(e.DevInst);
  EXPECT_EQ(ids.size(), entries.size()) << "every collection has an identity of its own";
  EXPECT_EQ(ids.count(0), 0u);
}

TEST_F(LinuxEnumeration, IdentitiesStayAcrossScansAndUnplugs) {
  bed.Plug(FakePedal::Description("A"));
  auto& second = bed.Plug(FakePedal::Description("B"));
  bed.Plug(Composite());
  const auto first = Scan();
  const auto again = Scan();
  ASSERT_EQ(first.size(), 5u);
  ASSERT_EQ(again.size(), 5u);
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].DevicePath, again[i].DevicePath);
    EXPECT_EQ(first[i].DevInst, again[i].DevInst);
  }

  bed.Unplug(second);
  const auto after = Scan();
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[0].DevInst, first[0].DevInst);
  EXPECT_EQ(after[1].DevicePath, "/dev/hidraw2#col1");
  EXPECT_EQ(after[1].DevInst, first[2].DevInst);
  EXPECT_EQ(after[3].DevInst, first[4].DevInst);

  // Plugged in again it is a new device instance.
  bed.Plug(FakePedal::Description("B"));
  const auto replugged = Scan();
  ASSERT_EQ(replugged.size(), 5u);
  for (const auto& old : first) EXPECT_NE(replugged.back().DevInst, old.DevInst);
}

TEST_F(LinuxEnumeration, DescriptorWithoutCollectionsStillGivesTheNode) {
  FakeDeviceDescription d = Mouse();
  d.reportDescriptor = {0x05, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02};
  bed.Plug(d);
  const auto entries = Scan();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].DevicePath, "/dev/hidraw0");
  auto handle = backend.Open(entries[0].DevicePath, true);
  ASSERT_NE(handle, nullptr);
  HIDP_CAPS caps{};
  EXPECT_FALSE(handle->GetCaps(caps));
  EXPECT_EQ(caps.InputReportByteLength, 0);
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
