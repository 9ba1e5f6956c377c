// Answer storm: a pedal sends N reports per second for a few seconds while the
// host loop serves a 10 ms timer; the handler does what the window does with
// an answer (decode, display text, history line). Prints per rate the reports
// handled, the longest serving round and the longest timer delay (the longest
// time the loop could not react), in milliseconds.
// Usage: varnok_bench_storm [SECONDS] [RATE...]   rate 0 = as fast as the reader
// takes them (at most 64 waiting)
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/HostLoop.h"
#include "hid/THidDevice.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/virtual/VirtualBus.h"
#include "protocol/AnswerDisplayText.h"
#include "protocol/HistoryLine.h"
#include "protocol/PedalAnswer.h"

namespace {

using hid::platform::virt::VirtualBus;
using hid::platform::virt::VirtualDeviceDescription;

struct Window {
  std::vector<std::string> history;
  std::string shown;
  std::atomic<std::uint64_t> handled{0};
  void Data(hid::THidDevice*, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
    history.push_back(protocol::ReceivedHistoryLine(id, data, size));
    if (history.size() > 1000) history.erase(history.begin(), history.begin() + 500);
    const protocol::PedalAnswer answer = protocol::DecodeInputReport(id, data, size);
    if (answer.isConfigAnswer) shown = protocol::AnswerDisplayText(answer);
    ++handled;
  }
};

double Ms(bench::Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 3;
  std::vector<long> rates;
  for (int i = 2; i < argc; ++i) rates.push_back(std::atol(argv[i]));
  if (rates.empty()) rates = {0, 1000, 10000, 100000};

  VirtualDeviceDescription desc;
  desc.vendorId = 0x16C0;
  desc.productId = 0x05E1;
  desc.inputLength = 8;
  desc.outputLength = 8;
  desc.product = u"Foot switch";
  desc.serial = u"VK0001";

  for (const long rate : rates) {
    VirtualBus bus;
    auto pedal = bus.Plug(desc);
    hid::MainThreadQueue queue;
    bench::HostLoop loop(queue);
    hid::THidDeviceController ctl(bus, queue);
    Window window;
    ctl.SetOnDeviceData(hid::MakeHandler(&window, &Window::Data));
    loop.Run([&] { return ctl.Count() == 1; }, std::chrono::seconds(5));
    hid::THidDevice* device = nullptr;
    if (!ctl.CheckOutAt(device, 0)) return 1;
    loop.Run([&] { return pedal->OutstandingReads() == 1; }, std::chrono::seconds(5));

    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> injected{0};
    std::thread injector([&] {
      const std::vector<std::uint8_t> answer{0x02, 0x81, 0x01, 0x02, 0x3E, 0x00, 0x00, 0x00};
      const auto start = bench::Clock::now();
      while (!stop.load()) {
        if (rate <= 0) {
          // As fast as the reader takes them, with at most 64 waiting, as
          // in the kernel's hidraw buffer.
          if (injected.load() - window.handled.load() < 64) {
            pedal->InjectInput(answer);
            ++injected;
          } else {
            std::this_thread::yield();
          }
          continue;
        }
        // Catch up with the schedule once a millisecond.
        const double elapsed = std::chrono::duration<double>(bench::Clock::now() - start).count();
        while (static_cast<double>(injected.load()) < elapsed * static_cast<double>(rate)) {
          pedal->InjectInput(answer);
          ++injected;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    const auto t0 = bench::Clock::now();
    loop.Run([] { return false; }, std::chrono::seconds(seconds));
    const double elapsed = std::chrono::duration<double>(bench::Clock::now() - t0).count();
    stop = true;
    injector.join();
    const auto handledDuringStorm = window.handled.load();
    delete device;  // the reader stops; reports still queued in the handle are dropped

    const std::string name = rate <= 0 ? std::string("max") : std::to_string(rate);
    std::printf("storm_%s_injected_per_s %.0f\n", name.c_str(), static_cast<double>(injected.load()) / elapsed);
    std::printf("storm_%s_handled_per_s %.0f\n", name.c_str(), static_cast<double>(handledDuringStorm) / elapsed);
    std::printf("storm_%s_longest_serve_ms %.2f\n", name.c_str(), Ms(loop.LongestServe()));
    std::printf("storm_%s_longest_timer_delay_ms %.2f\n", name.c_str(), Ms(loop.LongestTimerDelay()));
    std::printf("storm_%s_timer_ticks %llu_of_%d\n", name.c_str(), static_cast<unsigned long long>(loop.TimerFired()),
                static_cast<int>(elapsed * 100));
  }
  return 0;
}
