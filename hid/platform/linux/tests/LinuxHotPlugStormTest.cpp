// Pedals plugged and unplugged on a few hidraw nodes while the controller
// rescans, checks them out, reads them out and gives them back. Afterwards
// every hidraw fd, eventfd and socket the binding opened is closed again.
#include <poll.h>
#include <unistd.h>

#include <array>
#include <map>
#include <random>

#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/linux/tests/BackendTestbed.h"

namespace hid::platform::linux_::fakes {
namespace {

using namespace std::chrono_literals;

// Open fds of the process by kind.
struct FdCounts {
  int nodes = 0;     // device nodes (umockdev's nodes are PTYs)
  int eventfds = 0;
  int sockets = 0;   // the monitor's, and umockdev's per emulated fd
  bool operator==(const FdCounts&) const = default;
};

FdCounts CountFds() {
  FdCounts counts;
  for (int fd = 0; fd < 4096; ++fd) {
    char target[256];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    if (n <= 0) continue;
    const std::string link(target, static_cast<std::size_t>(n));
    if (link.rfind("/dev/pts/", 0) == 0 || link.rfind("/dev/hidraw", 0) == 0) ++counts.nodes;
    if (link == "anon_inode:[eventfd]") ++counts.eventfds;
    if (link.rfind("socket:", 0) == 0) ++counts.sockets;
  }
  return counts;
}

std::ostream& operator<<(std::ostream& out, const FdCounts& c) {
  return out << c.nodes << " nodes, " << c.eventfds << " eventfds, " << c.sockets << " sockets";
}

// Counts settle once umockdev's worker has seen the last closes.
bool CountsBecome(const FdCounts& expected) {
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (CountFds() != expected) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

class LinuxHotPlugStorm : public BackendTestbed {
 public:
  void Data(THidDevice*, std::uint8_t id, const std::uint8_t*, std::uint16_t) {
    if (id == 0x02) ++answers;
  }

 protected:
  static constexpr int kNodes = 3;

  void Pump() {
    if (controller->MonitorFd() >= 0) {
      pollfd p{controller->MonitorFd(), POLLIN, 0};
      if (::poll(&p, 1, 0) > 0) controller->OnMonitorReadable();
    }
    queue.ServeUntil([] { return false; }, 1ms);
  }
  // Pumps until the controller lists exactly the plugged pedals as present.
  bool PumpUntilListed() {
    const auto end = std::chrono::steady_clock::now() + 20s;
    for (;;) {
      Pump();
      int present = 0;
      for (std::int32_t i = 0; i < controller->Count(); ++i) present += controller->At(i)->Present() ? 1 : 0;
      int plugged = 0;
      for (auto* node : slots) plugged += node != nullptr && node->plugged() ? 1 : 0;
      if (present == plugged) return true;
      if (std::chrono::steady_clock::now() > end) return false;
    }
  }
  void GiveBack(THidDevice* device) {
    std::erase(owned, device);
    delete device;
  }
  MainThreadQueue queue;
  std::unique_ptr<THidDeviceController> controller;
  std::array<FakeHidDevice*, kNodes> slots{};  // the device on each node (plugged or gone)
  std::vector<std::unique_ptr<FakePedal>> pedals;
  std::vector<THidDevice*> owned;
  int answers = 0;
};

TEST_F(LinuxHotPlugStorm, EveryFdTheBindingOpensIsClosedAgain) {
  // The nodes exist before the baseline (the fake keeps fds of its own per
  // node); the storm then reuses them.
  for (auto& slot : slots) {
    slot = &bed.Plug(FakePedal::Description());
    bed.Unplug(*slot);
  }
  const FdCounts baseline = CountFds();

  controller = std::make_unique<THidDeviceController>(backend, queue);
  controller->SetOnDeviceData(MakeHandler(this, &LinuxHotPlugStorm::Data));
  ASSERT_TRUE(PumpUntilListed());
  ASSERT_TRUE(CountsBecome(FdCounts{baseline.nodes, baseline.eventfds, baseline.sockets + 1}))
      << CountFds() << " with the controller, " << baseline << " before";
  const FdCounts idle = CountFds();

  std::mt19937 rng(20261209);
  int readOuts = 0;
  for (int step = 0; step < 150; ++step) {
    const auto n = static_cast<std::size_t>(rng() % kNodes);
    switch (rng() % 4) {
      case 0:  // plug or unplug
        if (slots[n]->plugged()) {
          bed.Unplug(*slots[n]);
        } else {
          slots[n] = &bed.PlugReusingNode(FakePedal::Description("S" + std::to_string(step)), *slots[n]);
          pedals.push_back(std::make_unique<FakePedal>(*slots[n]));
        }
        ASSERT_TRUE(PumpUntilListed()) << "step " << step;
        break;
      case 1:  // check out a pedal and read it out
        for (std::int32_t i = 0; i < controller->Count(); ++i) {
          THidDevice* device = nullptr;
          if (!controller->At(i)->Present() || !controller->CheckOutAt(device, i)) continue;
          owned.push_back(device);
          const std::uint8_t request[8] = {0x02, 0x01, 0x00, 0, 0, 0, 0, 0};
          std::uint32_t written = 0;
          if (device->WriteReport(request, 8, written)) ++readOuts;
          break;
        }
        break;
      case 2:  // give one back
        if (!owned.empty()) GiveBack(owned[rng() % owned.size()]);
        break;
      default:
        queue.ServeUntil([] { return false; }, 20ms);
        break;
    }
  }
  for (auto* node : slots) {
    if (node->plugged()) bed.Unplug(*node);
  }
  ASSERT_TRUE(PumpUntilListed());
  while (!owned.empty()) GiveBack(owned.back());
  Pump();
  EXPECT_EQ(controller->Count(), 0);
  EXPECT_TRUE(CountsBecome(idle)) << CountFds() << " after the storm, " << idle << " before";
  controller.reset();
  EXPECT_TRUE(CountsBecome(baseline)) << CountFds() << " without the controller, " << baseline << " before";
  EXPECT_GT(readOuts, 0);
  std::printf("[ storm    ] %zu pedals plugged, %d read-outs written, %d answers delivered\n", pedals.size(),
              readOuts, answers);
}

}  // namespace
}  // namespace hid::platform::linux_::fakes
