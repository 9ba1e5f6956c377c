// One device on the virtual HID bus, with the test-facing controls: input
// injection, write recording and failures, open-handle counts.
// Thread-safe: readers, the main thread and device models may call it at once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "hid/platform/virtual/VirtualDeviceDescription.h"

namespace hid::platform::virt {

class VirtualReadHandle;

class VirtualDevice {
 public:
  VirtualDevice(VirtualDeviceDescription desc, DeviceInstanceId instance, std::string path);
  VirtualDevice(const VirtualDevice&) = delete;
  VirtualDevice& operator=(const VirtualDevice&) = delete;

  const std::string& Path() const { return path_; }
  DeviceInstanceId Instance() const { return instance_; }
  const VirtualDeviceDescription& Description() const { return desc_; }
  bool Plugged() const { return plugged_.load(); }

  // Queues one input report on every open read handle (one report per read;
  // a longer report is cut to the read's length). Returns how many handles
  // took it; with none open the report is lost, as on a real device.
  std::size_t InjectInput(const std::vector<std::uint8_t>& report);
  std::size_t InjectInput(const std::uint8_t* data, std::size_t length);

  void SetWriteHook(WriteHook hook);
  void SetWriteFailure(const WriteFailure& failure);
  // Accepted writes, in order.
  std::vector<std::vector<std::uint8_t>> Writes() const;
  std::size_t WriteCount() const;
  // Writes the device is holding back now (WriteFailure::neverTaken).
  std::size_t WritesHeld() const;

  int OpenMainHandles() const { return openMain_.load(); }
  int OpenReadHandles() const { return openRead_.load(); }
  int OpenHandles() const { return OpenMainHandles() + OpenReadHandles(); }
  // A reset that no device notification reports (a USB reset, a stall
  // cleared by the hub): the device stays attached and opens again, but the
  // read handles open now fail with ENODEV for good.
  void Reset();
  // Reads started and not yet completed or cancelled, over all read handles.
  std::size_t OutstandingReads() const;
  // Outstanding reads dropped by Cancel.
  unsigned CancelledReads() const { return cancelled_.load(); }

  // Used by the bus and the handles.
  bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written, int* error,
             std::uint32_t* native = nullptr);
  void AddReadHandle(const std::shared_ptr<VirtualReadHandle>& handle);
  void HandleOpened(bool read);
  void HandleClosed(bool read);
  void CountCancel() { ++cancelled_; }
  void MarkUnplugged();

 private:
  std::vector<std::shared_ptr<VirtualReadHandle>> LiveReadHandles() const;

  const VirtualDeviceDescription desc_;
  const DeviceInstanceId instance_;
  const std::string path_;
  std::atomic<bool> plugged_{true};
  std::atomic<int> openMain_{0};
  std::atomic<int> openRead_{0};
  std::atomic<unsigned> cancelled_{0};
  mutable std::mutex mutex_;
  std::condition_variable unplugged_;  // ends writes that are never taken
  WriteHook hook_;
  WriteFailure failure_;
  unsigned writesSinceFailureSet_ = 0;
  std::size_t held_ = 0;
  std::vector<std::vector<std::uint8_t>> writes_;
  mutable std::vector<std::weak_ptr<VirtualReadHandle>> readHandles_;
};

}  // namespace hid::platform::virt
