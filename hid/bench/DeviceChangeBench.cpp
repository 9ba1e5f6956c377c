// DeviceChange over a virtual bus with 1 to 1000 devices: a rescan that finds
// no change (every new object a duplicate) and one where a device comes and goes.
#include <benchmark/benchmark.h>

#include "hid/MainThreadQueue.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace {

using hid::platform::virt::VirtualBus;
using hid::platform::virt::VirtualDeviceDescription;

VirtualDeviceDescription Description() {
  VirtualDeviceDescription s;
  s.vendorId = 0x16C0;
  s.productId = 0x05E1;
  s.inputLength = 8;
  s.outputLength = 8;
  s.product = u"Foot switch";
  return s;
}

struct Counter {
  int changes = 0;
  void Change(hid::THidDeviceController*) { ++changes; }
};

void BM_DeviceChangeNoChange(benchmark::State& state) {
  VirtualBus bus;
  for (int i = 0; i < state.range(0); ++i) bus.Plug(Description());
  hid::MainThreadQueue queue;
  hid::THidDeviceController ctl(bus, queue);
  queue.ServePending();  // first scan
  for (auto _ : state) ctl.DeviceChange();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DeviceChangeNoChange)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_DeviceChangeArrivalAndRemoval(benchmark::State& state) {
  VirtualBus bus;
  for (int i = 0; i < state.range(0); ++i) bus.Plug(Description());
  hid::MainThreadQueue queue;
  hid::THidDeviceController ctl(bus, queue);
  Counter counter;
  ctl.SetOnDeviceChange(hid::MakeHandler(&counter, &Counter::Change));
  queue.ServePending();
  for (auto _ : state) {
    auto extra = bus.Plug(Description());
    ctl.OnMonitorReadable();  // arrival
    bus.Unplug(extra);
    ctl.OnMonitorReadable();  // removal
  }
  state.SetItemsProcessed(state.iterations() * 2);
  if (counter.changes < state.iterations()) state.SkipWithError("changes were not reported");
}
BENCHMARK(BM_DeviceChangeArrivalAndRemoval)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
