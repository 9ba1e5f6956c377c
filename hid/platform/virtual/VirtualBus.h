// An in-process HID bus implementing the platform interface, for tests and
// the demo. Devices are plugged and unplugged by the test; opens, strings,
// writes and reads behave as the platform's do, with failures on demand.
//
//   hid::platform::virt::VirtualBus bus;
//   VirtualDeviceDescription desc;  desc.vendorId = 0x16C0; ...
//   auto pedal = bus.Plug(desc);
//   pedal->SetWriteHook([p = pedal.get()](const uint8_t* d, size_t n) { p->InjectInput(...); });
//   bus.Unplug(pedal);
//
// Thread-safe throughout.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/virtual/VirtualDevice.h"
#include "hid/platform/virtual/VirtualDeviceDescription.h"

namespace hid::platform::virt {

class MonitorSignal;

// How the bus's monitors reach the host (see Monitor in HidPlatform.h).
enum class MonitorDelivery {
  Descriptor,  // a readable fd, where the platform has eventfd (not on Windows)
  Callback,    // the notify callback, on the thread that plugs or unplugs
};

class VirtualBus : public Backend {
 public:
  VirtualBus() = default;
  ~VirtualBus() override = default;
  VirtualBus(const VirtualBus&) = delete;
  VirtualBus& operator=(const VirtualBus&) = delete;

  // Attaches a device and signals every monitor.
  std::shared_ptr<VirtualDevice> Plug(VirtualDeviceDescription desc);
  // Detaches it: outstanding reads complete with failure and 0 bytes, later
  // opens fail, handles still open fail with ENODEV, monitors are signalled.
  void Unplug(const std::shared_ptr<VirtualDevice>& device);
  std::vector<std::shared_ptr<VirtualDevice>> Devices() const;

  // Makes Load fail (the platform library is missing) / CreateMonitor fail.
  void SetLoadFails(bool fails) { loadFails_ = fails; }
  void SetMonitorFails(bool fails) { monitorFails_ = fails; }
  // For monitors made from now on. Descriptor (the default) falls back to
  // Callback where the platform has no descriptor to offer.
  void SetMonitorDelivery(MonitorDelivery delivery) { delivery_ = delivery; }
  int LoadCount() const { return loadCount_.load(); }
  // Snapshots taken so far (one per scan).
  unsigned ScanCount() const { return scans_.load(); }

  bool Load() override;
  void Release() override;
  bool IsLoaded() const override { return loadCount_.load() > 0; }
  std::unique_ptr<Snapshot> GetPresentInterfaces() override;
  std::unique_ptr<DeviceHandle> Open(const std::string& devicePath, bool readWrite, int* error = nullptr,
                                     std::uint32_t* nativeError = nullptr) override;
  std::shared_ptr<ReadHandle> OpenRead(const std::string& devicePath, int* error = nullptr) override;
  std::unique_ptr<Monitor> CreateMonitor() override;

 private:
  std::shared_ptr<VirtualDevice> Find(const std::string& path) const;
  void SignalMonitors();

  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<VirtualDevice>> devices_;  // in plug order
  std::unordered_map<std::string, std::shared_ptr<VirtualDevice>> byPath_;
  std::vector<std::weak_ptr<MonitorSignal>> monitors_;
  DeviceInstanceId nextInstance_ = 1000;
  unsigned nextPath_ = 0;
  std::atomic<bool> loadFails_{false};
  std::atomic<bool> monitorFails_{false};
  std::atomic<MonitorDelivery> delivery_{MonitorDelivery::Descriptor};
  std::atomic<int> loadCount_{0};
  std::atomic<unsigned> scans_{0};
};

}  // namespace hid::platform::virt
