// Hand-off latency: from an input report injected on the virtual bus to the
// data handler running on the main thread (a real reader thread, the hand-off
// queue and a host-style loop). Prints one line per figure:
//   handoff_latency_median_us <value>
//   handoff_latency_p99_us <value>
// Usage: varnok_bench_handoff [REPORTS]   (default 5000)
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "bench/HostLoop.h"
#include "hid/THidDevice.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace {

using hid::platform::virt::VirtualBus;
using hid::platform::virt::VirtualDeviceDescription;

struct Sink {
  std::atomic<std::int64_t> handledAt{0};
  std::atomic<std::uint32_t> handled{0};
  void Data(hid::THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {
    handledAt.store(bench::Clock::now().time_since_epoch().count());
    handled.fetch_add(1);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t reports = argc > 1 ? static_cast<std::uint32_t>(std::atoi(argv[1])) : 5000;
  VirtualBus bus;
  VirtualDeviceDescription desc;
  desc.vendorId = 0x16C0;
  desc.productId = 0x05E1;
  desc.inputLength = 8;
  desc.outputLength = 8;
  desc.product = u"Foot switch";
  desc.serial = u"VK0001";
  auto pedal = bus.Plug(desc);

  hid::MainThreadQueue queue;
  bench::HostLoop loop(queue);
  hid::THidDeviceController ctl(bus, queue);
  Sink sink;
  ctl.SetOnDeviceData(hid::MakeHandler(&sink, &Sink::Data));
  loop.Run([&] { return ctl.Count() == 1; }, std::chrono::seconds(5));  // first scan
  hid::THidDevice* device = nullptr;
  if (!ctl.CheckOutAt(device, 0) || !device->ReaderRunning()) {
    std::fprintf(stderr, "no reader\n");
    return 1;
  }
  loop.Run([&] { return pedal->OutstandingReads() == 1; }, std::chrono::seconds(5));

  std::vector<double> latencies;
  latencies.reserve(reports);
  std::atomic<bool> finished{false};
  std::thread injector([&] {
    std::mt19937 rng(1);
    const std::vector<std::uint8_t> report{0x02, 0x81, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00};
    for (std::uint32_t i = 0; i < reports; ++i) {
      // Wait for the reader to have its next read outstanding, then pause a little.
      while (pedal->OutstandingReads() == 0) std::this_thread::yield();
      std::this_thread::sleep_for(std::chrono::microseconds(50 + rng() % 150));
      const auto before = sink.handled.load();
      const auto t0 = bench::Clock::now().time_since_epoch().count();
      pedal->InjectInput(report);
      while (sink.handled.load() == before) std::this_thread::yield();
      latencies.push_back(static_cast<double>(sink.handledAt.load() - t0) / 1000.0);
    }
    finished = true;
    queue.Notify();
  });
  loop.Run([&] { return finished.load(); }, std::chrono::seconds(120));
  injector.join();
  delete device;

  if (latencies.size() != reports) {
    std::fprintf(stderr, "only %zu of %u reports handled\n", latencies.size(), reports);
    return 1;
  }
  std::printf("handoff_reports %u\n", reports);
  std::printf("handoff_latency_median_us %.1f\n", bench::Percentile(latencies, 50));
  std::printf("handoff_latency_p99_us %.1f\n", bench::Percentile(latencies, 99));
  std::printf("handoff_latency_max_us %.1f\n", bench::Percentile(latencies, 100));
  return 0;
}
