// Scan of 50, 200 and 1,000 fake pedals on a umockdev testbed: this binding's
// snapshot and identification beside hidapi's hid_enumerate (hidraw flavour)
// over the same devices, in the same run. Run it under umockdev-wrapper:
//
//   umockdev-wrapper build/bin/hid_linux_bench
//
// After Google Benchmark's table it prints one line per figure:
//   scan_<what>_<devices>_ms <milliseconds per scan>
//   scan_<what>_<devices>_vs_hidapi <time relative to hid_enumerate over as many devices>
//   scan_<what>_<devices>_us_per_device <microseconds per device>
// <what>: snapshot (the list of entries), identify_sysfs (the list, then each
// entry opened without access rights and asked for attributes, caps, product
// and serial), identify_nodes (the same, each node opened for reading and
// writing, as the device layer's scan does), hidapi_enumerate.
#include <benchmark/benchmark.h>
#include <hidapi.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

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

constexpr std::array<int, 3> kDeviceCounts = {50, 200, 1000};

FakeHidTestbed* gBed = nullptr;
LinuxHidBackend* gBackend = nullptr;
int gPlugged = 0;

// Grows the testbed to `count` pedals (plugging is not timed).
void PlugPedals(int count) {
  for (; gPlugged < count; ++gPlugged) gBed->Plug(FakePedal::Description("FS" + std::to_string(10000 + gPlugged)));
}

// Scans and identifies every entry as the device layer does on a scan:
// attributes, caps, product and serial strings.
void Identify(bool readWrite, benchmark::State& state) {
  const int devices = static_cast<int>(state.range(0));
  PlugPedals(devices);
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
  if (found != devices) state.SkipWithError("not every pedal identified");
}

void Snapshot(benchmark::State& state) {
  const int devices = static_cast<int>(state.range(0));
  PlugPedals(devices);
  std::uint32_t count = 0;
  for (auto _ : state) {
    auto snapshot = gBackend->GetPresentInterfaces();
    InterfaceDetail detail;
    count = 0;
    while (snapshot->EnumDeviceInterface(count, detail)) ++count;
    benchmark::DoNotOptimize(count);
  }
  if (static_cast<int>(count) != devices) state.SkipWithError("wrong number of entries");
}

void IdentifySysfs(benchmark::State& state) { Identify(false, state); }
void IdentifyNodes(benchmark::State& state) { Identify(true, state); }

void HidapiEnumerate(benchmark::State& state) {
  const int devices = static_cast<int>(state.range(0));
  PlugPedals(devices);
  int count = 0;
  for (auto _ : state) {
    hid_device_info* list = hid_enumerate(0, 0);
    count = 0;
    for (auto* d = list; d != nullptr; d = d->next) ++count;
    hid_free_enumeration(list);
    benchmark::DoNotOptimize(count);
  }
  if (count != devices) state.SkipWithError("wrong number of devices");
}

// Prints as usual and keeps each run's real time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so piped figure lines start clean.
  RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median, reported after the single runs, wins.
    for (const auto& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Iteration ||
          (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")) {
        const int devices = std::stoi(run.run_name.args);
        milliseconds_[{run.run_name.function_name, devices}] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintFigures() const {
    for (const auto& [key, ms] : milliseconds_) {
      const auto& [what, devices] = key;
      std::printf("scan_%s_%d_ms %.3f\n", what.c_str(), devices, ms);
      std::printf("scan_%s_%d_us_per_device %.2f\n", what.c_str(), devices, ms * 1000.0 / devices);
      const auto hidapi = milliseconds_.find({"hidapi_enumerate", devices});
      if (hidapi != milliseconds_.end() && hidapi->second > 0) {
        std::printf("scan_%s_%d_vs_hidapi %.2f\n", what.c_str(), devices, ms / hidapi->second);
      }
    }
  }

 private:
  std::map<std::pair<std::string, int>, double> milliseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!FakeHidTestbed::Available()) {
    std::puts("run under umockdev-wrapper");
    return 1;
  }
  // A thousand nodes take a few thousand fds (the nodes, umockdev's sockets).
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);
  }
  FakeHidTestbed bed;
  LinuxHidBackend backend;
  if (!backend.Load() || hid_init() != 0) {
    std::puts("libudev or hidapi not usable");
    return 1;
  }
  gBed = &bed;
  gBackend = &backend;

  // By device count, so the testbed only grows.
  for (int devices : kDeviceCounts) {
    benchmark::RegisterBenchmark("snapshot", Snapshot)->Arg(devices)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("identify_sysfs", IdentifySysfs)->Arg(devices)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("identify_nodes", IdentifyNodes)->Arg(devices)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("hidapi_enumerate", HidapiEnumerate)->Arg(devices)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintFigures();
  benchmark::Shutdown();
  hid_exit();
  backend.Release();
  return 0;
}
