// A node whose mode refuses reading and writing is still listed and opens
// without access rights.
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <array>

#include "hid/platform/linux/tests/BackendTestbed.h"
#include "hid/platform/linux/tests/ScopedFileModeEnforcement.h"

namespace hid::platform::linux_::fakes {
namespace {

using LinuxAccess = BackendTestbed;

TEST_F(LinuxAccess, RefusedNodeOpensWithoutAccessRightsOnly) {
  auto& node = bed.Plug(FakePedal::Description("LOCKED-1"));
  node.SetAccessRefused(true);
  ScopedFileModeEnforcement enforce;

  const auto entries = Scan();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].DevicePath, "/dev/hidraw0");

  int error = 0;
  EXPECT_EQ(backend.Open("/dev/hidraw0", true, &error), nullptr);
  EXPECT_EQ(error, EACCES);
  EXPECT_EQ(backend.OpenRead("/dev/hidraw0", &error), nullptr);
  EXPECT_EQ(error, EACCES);

  auto handle = backend.Open("/dev/hidraw0", false, &error);
  ASSERT_NE(handle, nullptr);
  HIDD_ATTRIBUTES attributes;
  ASSERT_TRUE(handle->GetAttributes(attributes));
  EXPECT_EQ(attributes.VendorID, 0x16C0);
  EXPECT_EQ(attributes.ProductID, 0x05E1);
  HIDP_CAPS caps;
  ASSERT_TRUE(handle->GetCaps(caps));
  EXPECT_EQ(caps.InputReportByteLength, 8);
  EXPECT_EQ(caps.OutputReportByteLength, 8);
  std::array<WideChar, 254> buffer{};
  ASSERT_TRUE(handle->GetSerialNumberString(buffer.data(), 508));
  EXPECT_EQ(Text(buffer.data(), buffer.size()), u"LOCKED-1");

  const std::uint8_t report[8] = {0x02, 0x01, 0x00};
  std::uint32_t written = 5;
  EXPECT_FALSE(handle->Write(report, sizeof report, &written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(handle->LastError(), EACCES);
  EXPECT_NE(handle->ErrorText().find("access"), std::string::npos);
  EXPECT_TRUE(node.Written().empty());
  EXPECT_EQ(node.IoctlCalls(HIDIOCGRAWINFO), 0u);
}

TEST_F(LinuxAccess, AccessGivenBackOpensWithAccessRightsAgain) {
  auto& node = bed.Plug(FakePedal::Description());
  node.SetAccessRefused(true);
  {
    ScopedFileModeEnforcement enforce;
    EXPECT_EQ(backend.Open("/dev/hidraw0", true), nullptr);
    node.SetAccessRefused(false);
    EXPECT_NE(backend.Open("/dev/hidraw0", true), nullptr);
  }
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
