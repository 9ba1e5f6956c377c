// Shared pieces of the device-layer tests: a virtual bus, the hand-off queue,
// a controller wired to an event recorder, and a small main-thread loop.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "hid/MainThreadQueue.h"
#include "hid/THidDevice.h"
#include "hid/THidDeviceController.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace hid::test {

using platform::virt::Access;
using platform::virt::VirtualBus;
using platform::virt::VirtualDevice;
using platform::virt::VirtualDeviceDescription;
using namespace std::chrono_literals;

inline VirtualDeviceDescription PedalDescription(std::u16string serial = u"VK0001") {
  VirtualDeviceDescription desc;
  desc.vendorId = 0x16C0;
  desc.productId = 0x05E1;
  desc.version = 0x0101;
  desc.inputLength = 8;
  desc.outputLength = 8;
  desc.product = u"Foot switch";
  desc.serial = std::move(serial);
  return desc;
}

inline std::string Name(const THidDevice* device) { return std::to_string(device->PnPInfo().DeviceInstance); }

struct Report {
  THidDevice* device;
  std::uint8_t id;
  std::vector<std::uint8_t> data;
};

// Records every controller and device event as a line of text.
class Recorder {
 public:
  std::vector<std::string> log;
  std::vector<Report> reports;
  std::vector<std::uint32_t> errors;
  bool enumerateResult = true;
  std::function<void(THidDevice*, std::int32_t)> onEnumerate;
  std::function<void()> onChange;
  std::function<void(const Report&)> onData;
  std::vector<bool> inCallbackSeen;

  void Arrival(THidDevice* d) {
    inCallbackSeen.push_back(d->InCallback());
    log.push_back("arrival " + Name(d));
  }
  void Removal(THidDevice* d) {
    inCallbackSeen.push_back(d->InCallback());
    log.push_back("removal " + Name(d));
  }
  void Unplug(THidDevice* d) { log.push_back("unplug " + Name(d)); }
  void OtherUnplug(THidDevice* d) { log.push_back("other unplug " + Name(d)); }
  void Change(THidDeviceController*) {
    log.push_back("change");
    if (onChange) onChange();
  }
  void OtherChange(THidDeviceController*) { log.push_back("other change"); }
  bool Enumerate(THidDevice* d, std::int32_t idx) {
    inCallbackSeen.push_back(d->InCallback());
    log.push_back("enumerate " + Name(d) + " at " + std::to_string(idx));
    if (onEnumerate) onEnumerate(d, idx);
    return enumerateResult;
  }
  void Data(THidDevice* d, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
    reports.push_back(Report{d, id, std::vector<std::uint8_t>(data, data + size)});
    if (onData) onData(reports.back());
  }
  void OtherData(THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { log.push_back("other data"); }
  void DataError(THidDevice*, std::uint32_t error) { errors.push_back(error); }

  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(log);
    return out;
  }
};

class HidFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    for (THidDevice* d : owned_) delete d;
    owned_.clear();
    ctl.reset();
  }

  // A controller with the recorder's plug, change and data handlers, as the
  // window connects them while it is built (no scan yet).
  void MakeController() { MakeController(bus); }
  // The same on `backend` (one in front of the bus).
  void MakeController(platform::Backend& backend) {
    ctl = std::make_unique<THidDeviceController>(backend, queue);
    ctl->BeginLoading();
    ctl->SetOnArrival(MakeHandler(&rec, &Recorder::Arrival));
    ctl->SetOnRemoval(MakeHandler(&rec, &Recorder::Removal));
    ctl->SetOnDeviceUnplug(MakeHandler(&rec, &Recorder::Unplug));
    ctl->SetOnDeviceChange(MakeHandler(&rec, &Recorder::Change));
    ctl->SetOnDeviceData(MakeHandler(&rec, &Recorder::Data));
    ctl->SetOnEnumerate(MakeHandler(&rec, &Recorder::Enumerate));
    ctl->EndLoading();
  }

  // One round of the main loop: the monitor, then the queue.
  void Pump() {
    if (ctl) ctl->OnMonitorReadable();
    queue.ServePending();
  }

  // Serves the queue until `done` holds; false after a generous limit. Tests
  // in short slices, as some conditions change without queued work.
  bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!queue.ServeUntil(done, 2ms)) {
      if (std::chrono::steady_clock::now() > end) return false;
    }
    return true;
  }

  // Waits (serving the queue) until the device's reader has a read outstanding.
  bool ReaderReady(const std::shared_ptr<VirtualDevice>& dev, std::size_t reads = 1) {
    return ServeUntil([&] { return dev->OutstandingReads() == reads; });
  }

  THidDevice* CheckOut(std::int32_t idx) {
    THidDevice* d = nullptr;
    if (ctl->CheckOutAt(d, idx)) owned_.push_back(d);
    return d;
  }
  void Destroy(THidDevice* d) {
    std::erase(owned_, d);
    delete d;
  }

  VirtualBus bus;
  MainThreadQueue queue;
  Recorder rec;
  std::unique_ptr<THidDeviceController> ctl;
  std::vector<THidDevice*> owned_;
};

}  // namespace hid::test
