// The virtual bus's descriptor monitor, where the platform has eventfd.
#include <gtest/gtest.h>
#include <poll.h>

#include "hid/platform/virtual/VirtualBus.h"

namespace hid::platform::virt {
namespace {

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, 0) > 0;
}

TEST(VirtualBus, MonitorBecomesReadableOnPlugAndUnplug) {
  VirtualBus bus;
  EXPECT_EQ(bus.CreateMonitor(), nullptr);  // not loaded
  ASSERT_TRUE(bus.Load());
  auto monitor = bus.CreateMonitor();
  ASSERT_NE(monitor, nullptr);
  EXPECT_FALSE(Readable(monitor->fd()));
  EXPECT_FALSE(monitor->Drain());
  VirtualDeviceDescription desc;
  desc.inputLength = 8;
  auto d = bus.Plug(desc);
  EXPECT_TRUE(Readable(monitor->fd()));
  EXPECT_TRUE(monitor->Drain());
  EXPECT_FALSE(Readable(monitor->fd()));
  bus.Unplug(d);
  EXPECT_TRUE(monitor->Drain());
}

}  // namespace
}  // namespace hid::platform::virt
