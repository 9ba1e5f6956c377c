// Read handle on a virtual device: input reports queue up per handle and each
// read takes one. Closing or unplugging completes an outstanding read with
// failure and 0 bytes, as a real device does.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::virt {

class VirtualDevice;

class VirtualReadHandle : public ReadHandle {
 public:
  explicit VirtualReadHandle(std::shared_ptr<VirtualDevice> device);
  ~VirtualReadHandle() override;

  bool StartRead(std::uint8_t* buffer, std::uint32_t length) override;
  WaitResult Wait(std::uint32_t timeoutMs) override;
  bool GetResult(std::uint32_t* count) override;
  bool Cancel() override;
  void Interrupt() override;
  void Close() override;
  int LastError() const override;

  // Device side: queue a report (false when closed or gone); the device left.
  bool Push(std::vector<std::uint8_t> report);
  void DeviceGone();
  bool ReadOutstanding() const;

 private:
  enum class State { Idle, Pending, Done };
  // With mutex_ held; the caller wakes waiters once it has let go of it.
  void CompleteLocked();
  void FailLocked(int error);

  const std::shared_ptr<VirtualDevice> device_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<std::uint8_t>> reports_;
  State state_ = State::Idle;
  std::uint8_t* buffer_ = nullptr;
  std::uint32_t length_ = 0;
  std::uint32_t count_ = 0;
  bool ok_ = false;
  bool interrupted_ = false;
  bool closed_ = false;
  bool gone_ = false;
  int lastError_ = 0;
};

}  // namespace hid::platform::virt
