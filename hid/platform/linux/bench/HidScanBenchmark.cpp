// Scan of 50 fake pedals on a umockdev testbed: this binding's snapshot and
// identification beside hidapi's hid_enumerate (hidraw flavour) on the same
// testbed. Run under umockdev-wrapper. Prints the time ratios at the end.
#include <benchmark/benchmark.h>
#include <hidapi.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

#include "hid/platform/linux/LinuxHidBackend.h"
#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hid/platform/linux/tests/FakePedal.h"

namespace {

using hid::platform::HIDD_ATTRIBUTES;
using hid::platform::HIDP_CAPS;
using hid::platform::InterfaceDetail;
using hid::platform::WideChar;
using hid::platform::linux_::LinuxHidBackend;
using namespace hid::platform::linux_::fakes;

constexpr int kPedals = 50;

LinuxHidBackend* gBackend = nullptr;

// Scans and identifies every entry as the device layer does on a scan:
// attributes, caps, product and serial strings.
void Identify(bool readWrite, benchmark::State& state) {
  int found = 0;
  for (auto _ : state) {
    auto snapshot = gBackend->GetPresentInterfaces();
    InterfaceDetail detail;
    found = 0;
    for (std::uint32_t i = 0; snapshot->EnumDeviceInterface(i, detail); ++i) {
      auto handle = gBackend->Open(detail.DevicePath, readWrite);
      HIDD_ATTRIBUTES attributes;
      HIDP_CAPS caps;
      std::array<WideChar, 254> text{};
      if (handle && handle->GetAttributes(attributes) && handle->GetCaps(caps) &&
          handle->GetProductString(text.data(), 508) && handle->GetSerialNumberString(text.data(), 508)) {
        ++found;
      }
    }
    benchmark::DoNotOptimize(found);
  }
  if (found != kPedals) state.SkipWithError("not every pedal identified");
}

void BM_BindingSnapshot(benchmark::State& state) {
  std::uint32_t count = 0;
  for (auto _ : state) {
    auto snapshot = gBackend->GetPresentInterfaces();
    InterfaceDetail detail;
    count = 0;
    while (snapshot->EnumDeviceInterface(count, detail)) ++count;
    benchmark::DoNotOptimize(count);
  }
  if (count != kPedals) state.SkipWithError("wrong number of entries");
}

void BM_BindingScanFromSysfs(benchmark::State& state) { Identify(false, state); }
void BM_BindingScanThroughNodes(benchmark::State& state) { Identify(true, state); }

void BM_HidapiEnumerate(benchmark::State& state) {
  int count = 0;
  for (auto _ : state) {
    hid_device_info* list = hid_enumerate(0, 0);
    count = 0;
    for (auto* d = list; d != nullptr; d = d->next) ++count;
    hid_free_enumeration(list);
    benchmark::DoNotOptimize(count);
  }
  if (count != kPedals) state.SkipWithError("wrong number of devices");
}

BENCHMARK(BM_BindingSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BindingScanFromSysfs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BindingScanThroughNodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HidapiEnumerate)->Unit(benchmark::kMillisecond);

// Prints as usual and keeps each benchmark's real time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median, reported after the single runs, wins.
    for (const auto& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Iteration ||
          (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")) {
        nanoseconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    const auto hidapi = nanoseconds_.find("BM_HidapiEnumerate");
    if (hidapi == nanoseconds_.end() || hidapi->second <= 0) return;
    std::printf("\nTime relative to hid_enumerate(0, 0) over %d pedals:\n", kPedals);
    for (const auto& [name, time] : nanoseconds_) {
      std::printf("  %-28s %6.2f x\n", name.c_str(), time / hidapi->second);
    }
  }

 private:
  std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!FakeHidTestbed::Available()) {
    std::puts("run under umockdev-wrapper");
    return 1;
  }
  FakeHidTestbed bed;
  for (int i = 0; i < kPedals; ++i) bed.Plug(FakePedal::Description("FS" + std::to_string(1000 + i)));
  LinuxHidBackend backend;
  if (!backend.Load() || hid_init() != 0) {
    std::puts("libudev or hidapi not usable");
    return 1;
  }
  gBackend = &backend;

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  hid_exit();
  backend.Release();
  return 0;
}
