// Hot-plug notifications through the udev monitor.
#include <dlfcn.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "hid/platform/linux/UdevMonitor.h"
#include "hid/platform/linux/tests/BackendTestbed.h"

namespace hid::platform::linux_::fakes {
namespace {

constexpr int kLongWaitMs = 30000;

bool Readable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLIN) != 0;
}

class LinuxMonitor : public BackendTestbed, public testing::WithParamInterface<const char*> {};

TEST_P(LinuxMonitor, AddAndRemoveOfHidrawNodesAreReported) {
  auto monitor = backend.CreateMonitor(GetParam());
  ASSERT_NE(monitor, nullptr);
  EXPECT_FALSE(monitor->Drain()) << "nothing pending yet";

  auto& node = bed.Plug(FakePedal::Description());
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  EXPECT_TRUE(monitor->Drain());
  EXPECT_FALSE(monitor->Drain()) << "drained";
  EXPECT_FALSE(Readable(monitor->fd(), 0));

  // Events of other subsystems do not count.
  bed.Uevent(node.hidSyspath(), "change");
  bed.Uevent(node.syspath(), "change");
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  EXPECT_TRUE(monitor->Drain());

  bed.Unplug(node);
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  EXPECT_TRUE(monitor->Drain());
}

TEST_P(LinuxMonitor, OtherSubsystemsAndActionsChangeNothing) {
  auto& node = bed.Plug(FakePedal::Description());
  auto monitor = backend.CreateMonitor(GetParam());
  ASSERT_NE(monitor, nullptr);
  // A change of the hid parent, then a hidraw event that is not an add,
  // remove or change; the second one makes the fd readable in any case.
  bed.Uevent(node.hidSyspath(), "change");
  bed.Uevent(node.syspath(), "bind");
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  EXPECT_FALSE(monitor->Drain());
}

int SnapshotSize(Backend& backend) {
  auto snapshot = backend.GetPresentInterfaces();
  if (!snapshot) return -1;
  int n = 0;
  InterfaceDetail detail;
  while (snapshot->EnumDeviceInterface(static_cast<std::uint32_t>(n), detail)) ++n;
  return n;
}

TEST_P(LinuxMonitor, ARemovedNodeIsLeftOutWhileItsSysfsEntryLingers) {
  auto& node = bed.Plug(FakePedal::Description());
  auto monitor = backend.CreateMonitor(GetParam());
  ASSERT_NE(monitor, nullptr);
  ASSERT_EQ(SnapshotSize(backend), 1);
  // The remove event comes before the kernel deletes the entry.
  bed.Uevent(node.syspath(), "remove");
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  EXPECT_TRUE(monitor->Drain());
  EXPECT_EQ(SnapshotSize(backend), 0);
  // The same node added again is listed again.
  bed.Uevent(node.syspath(), "add");
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  EXPECT_TRUE(monitor->Drain());
  EXPECT_EQ(SnapshotSize(backend), 1);
}

// The monitor on a libudev that keeps the usual small socket buffer and can
// lose events (LimitedUdevLibrary.c).
class LinuxMonitorUnderStrain : public LinuxMonitor {
 protected:
  void SetUp() override {
    ASSERT_TRUE(limited.Load()) << limited.LoadErrorText();
    void* library = ::dlopen(VARNOK_LIMITED_UDEV, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    losePendingEvents = reinterpret_cast<void (*)()>(::dlsym(library, "varnok_udev_lose_pending_events"));
    ::dlclose(library);
    ASSERT_NE(losePendingEvents, nullptr);
    monitor = limited.CreateMonitor(GetParam());
    ASSERT_NE(monitor, nullptr);
  }
  void TearDown() override {
    monitor.reset();
    limited.Release();
  }

  LinuxHidBackend limited{VARNOK_LIMITED_UDEV};
  void (*losePendingEvents)() = nullptr;
  std::unique_ptr<Monitor> monitor;
};

TEST_P(LinuxMonitorUnderStrain, LostEventsCountAsAChange) {
  bed.Plug(FakePedal::Description());
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  losePendingEvents();  // the socket's buffer overflowed: the plug's events are gone
  EXPECT_TRUE(monitor->Drain()) << "a rescan must follow";
  EXPECT_FALSE(monitor->Drain());
}

TEST_P(LinuxMonitorUnderStrain, TheSocketBuffersAHubOfDevicesArrivingAtOnce) {
  int size = 0;
  socklen_t length = sizeof size;
  ASSERT_EQ(::getsockopt(monitor->fd(), SOL_SOCKET, SO_RCVBUF, &size, &length), 0);
  // What an unprivileged process may ask for is capped at rmem_max; the
  // kernel doubles what it grants for its own bookkeeping.
  long capped = 1 << 20;
  if (FILE* f = std::fopen("/proc/sys/net/core/rmem_max", "r")) {
    long max = 0;
    if (std::fscanf(f, "%ld", &max) == 1 && max > 0) capped = std::min(capped, max);
    std::fclose(f);
  }
  EXPECT_GE(size, 2 * capped) << "asked for " << capped;
}

INSTANTIATE_TEST_SUITE_P(Sources, LinuxMonitorUnderStrain, testing::Values("udev", "kernel"));

INSTANTIATE_TEST_SUITE_P(Sources, LinuxMonitor, testing::Values("udev", "kernel"));

TEST(LinuxMonitorSource, KernelEventsWhereNoUdevDaemonRuns) {
  struct stat st {};
  const bool daemon = ::stat("/run/udev/control", &st) == 0;
  EXPECT_EQ(UdevMonitor::DefaultSource(), daemon ? "udev" : "kernel");
}

TEST(LinuxMonitorSource, MonitorKeepsTheLibraryAfterTheLastRelease) {
  FakeHidTestbed bed;
  LinuxHidBackend backend;
  ASSERT_TRUE(backend.Load());
  auto monitor = backend.CreateMonitor();
  ASSERT_NE(monitor, nullptr);
  backend.Release();
  EXPECT_FALSE(backend.IsLoaded());
  EXPECT_EQ(backend.CreateMonitor(), nullptr);
  bed.Plug(FakePedal::Description());
  ASSERT_TRUE(Readable(monitor->fd(), kLongWaitMs));
  EXPECT_TRUE(monitor->Drain());
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
