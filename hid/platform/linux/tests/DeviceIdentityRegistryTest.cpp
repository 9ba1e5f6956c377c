#include <gtest/gtest.h>

#include "hid/platform/linux/DeviceIdentityRegistry.h"

namespace hid::platform::linux_ {
namespace {

TEST(DeviceIdentityRegistry, SameTextSameNumberOtherTextOtherNumber) {
  auto& registry = DeviceIdentityRegistry::Instance();
  const auto a = registry.Intern("/sys/devices/test/0003:16C0:05E1.0001");
  const auto b = registry.Intern("/sys/devices/test/0003:16C0:05E1.0001#col2");
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(registry.Intern("/sys/devices/test/0003:16C0:05E1.0001"), a);
}

}  // namespace
}  // namespace hid::platform::linux_
