// Hand-off latency: from an input report injected on the virtual bus to the
// data handler running on the main thread (a real reader thread, the hand-off
// queue and a host-style loop), beside its anchor: the same two thread
// wake-ups with nothing of ours between them (a condition variable wakes a
// thread that writes an eventfd the same main loop polls). Reports of the two
// alternate, so both meet the same load on a shared machine.
// Prints one line per figure:
//   handoff_latency_median_us, _p99_us, _max_us <value>
//   handoff_anchor_median_us, _p99_us, _max_us <value>
// Usage: varnok_bench_handoff [REPORTS]   (default 5000 of each)
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "bench/HostLoop.h"
#include "hid/THidDevice.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace {

using hid::platform::virt::VirtualBus;
using hid::platform::virt::VirtualDevice;
using hid::platform::virt::VirtualDeviceDescription;

std::int64_t Now() { return bench::Clock::now().time_since_epoch().count(); }

// Records when the handler ran; the injector sleeps until it did.
struct Sink {
  std::mutex mutex;
  std::condition_variable signal;
  std::int64_t handledAt = 0;
  std::uint32_t handled = 0;
  void Handled() {
    const auto now = Now();
    {
      std::lock_guard lock(mutex);
      handledAt = now;
      ++handled;
    }
    signal.notify_all();
  }
  void Data(hid::THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { Handled(); }
};

// Sends one report after a short pause, once `ready` holds, and returns the
// time in µs from `send` to the sink's handler. Like a device it never spins:
// on two cores a spinning injector would take one of them from the threads it
// measures.
double InjectOne(Sink& sink, std::mt19937& rng, const std::function<bool()>& ready,
                 const std::function<void()>& send) {
  std::this_thread::sleep_for(std::chrono::microseconds(50 + rng() % 150));
  while (!ready()) std::this_thread::sleep_for(std::chrono::microseconds(20));
  std::unique_lock lock(sink.mutex);
  const auto before = sink.handled;
  lock.unlock();
  const auto t0 = Now();
  send();
  lock.lock();
  sink.signal.wait(lock, [&] { return sink.handled != before; });
  return static_cast<double>(sink.handledAt - t0) / 1000.0;
}

// The anchor's two wake-ups: a thread waiting on a condition variable is
// woken by Send and writes an eventfd, which the main loop watches.
class BareWakeChain {
 public:
  BareWakeChain() : efd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), relay_([this] { Relay(); }) {}
  ~BareWakeChain() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    signal_.notify_all();
    relay_.join();
    close(efd_);
  }
  int fd() const { return efd_; }
  void Send() {
    {
      std::lock_guard lock(mutex_);
      pending_ = true;
    }
    signal_.notify_all();
  }
  bool Idle() {
    std::lock_guard lock(mutex_);
    return !pending_;
  }
  // Main loop, when fd() is readable: true when a wake-up was taken.
  bool Take() const {
    std::uint64_t n;
    return read(efd_, &n, sizeof n) == sizeof n;
  }

 private:
  void Relay() {
    std::unique_lock lock(mutex_);
    for (;;) {
      signal_.wait(lock, [this] { return pending_ || stop_; });
      if (stop_) return;
      pending_ = false;
      const std::uint64_t one = 1;
      [[maybe_unused]] ssize_t n = write(efd_, &one, sizeof one);
    }
  }

  const int efd_;
  std::mutex mutex_;
  std::condition_variable signal_;
  bool pending_ = false;
  bool stop_ = false;
  std::thread relay_;
};

void Print(const char* name, std::vector<double>& values) {
  std::printf("%s_median_us %.1f\n", name, bench::Percentile(values, 50));
  std::printf("%s_p99_us %.1f\n", name, bench::Percentile(values, 99));
  std::printf("%s_max_us %.1f\n", name, bench::Percentile(values, 100));
}

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

  std::vector<double> handOff, anchor;
  handOff.reserve(reports);
  anchor.reserve(reports);
  BareWakeChain chain;
  loop.Watch(chain.fd(), [&] {
    if (chain.Take()) sink.Handled();
  });
  std::atomic<bool> finished{false};
  std::thread injector([&] {
    std::mt19937 rng(1);
    const std::vector<std::uint8_t> report{0x02, 0x81, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00};
    for (std::uint32_t i = 0; i < reports; ++i) {
      handOff.push_back(InjectOne(
          sink, rng, [&] { return pedal->OutstandingReads() == 1; }, [&] { pedal->InjectInput(report); }));
      anchor.push_back(InjectOne(sink, rng, [&] { return chain.Idle(); }, [&] { chain.Send(); }));
    }
    finished = true;
    queue.Notify();
  });
  loop.Run([&] { return finished.load(); }, std::chrono::seconds(300));
  injector.join();
  delete device;

  if (handOff.size() != reports || anchor.size() != reports) {
    std::fprintf(stderr, "only %zu and %zu of %u reports handled\n", handOff.size(), anchor.size(), reports);
    return 1;
  }
  std::printf("handoff_reports %zu\n", handOff.size());
  Print("handoff_latency", handOff);
  Print("handoff_anchor", anchor);
  return 0;
}
