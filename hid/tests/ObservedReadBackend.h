// A backend in front of the virtual bus whose read handles let a test watch
// and steer the reader: the wait times it asks for, whether a completed read
// was collected, and a pause right after a completion.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "hid/platform/virtual/VirtualBus.h"

namespace hid::test {

class ObservedReadHandle : public platform::ReadHandle {
 public:
  explicit ObservedReadHandle(std::shared_ptr<platform::ReadHandle> inner) : inner_(std::move(inner)) {}

  // The next completion seen by Wait is held back until Interrupt is called.
  void HoldNextCompletionUntilInterrupt() {
    std::lock_guard lock(mutex_);
    hold_ = true;
    interrupted_ = false;
  }
  // A completion reached the reader and was not yet collected (GetResult or Cancel).
  bool CompletionUncollected() const {
    std::lock_guard lock(mutex_);
    return uncollected_;
  }
  std::vector<std::uint32_t> WaitTimes() const {
    std::lock_guard lock(mutex_);
    return waitTimes_;
  }

  bool StartRead(std::uint8_t* buffer, std::uint32_t length) override { return inner_->StartRead(buffer, length); }
  platform::WaitResult Wait(std::uint32_t timeoutMs) override {
    {
      std::lock_guard lock(mutex_);
      waitTimes_.push_back(timeoutMs);
    }
    const auto result = inner_->Wait(timeoutMs);
    if (result == platform::WaitResult::IoCompletion) {
      std::unique_lock lock(mutex_);
      uncollected_ = true;
      if (hold_) {
        interrupt_.wait(lock, [this] { return interrupted_; });
        hold_ = false;
      }
    }
    return result;
  }
  bool GetResult(std::uint32_t* count) override {
    Collected();
    return inner_->GetResult(count);
  }
  bool Cancel() override {
    Collected();
    return inner_->Cancel();
  }
  void Interrupt() override {
    {
      std::lock_guard lock(mutex_);
      interrupted_ = true;
    }
    interrupt_.notify_all();
    inner_->Interrupt();
  }
  void Close() override { inner_->Close(); }
  int LastError() const override { return inner_->LastError(); }

 private:
  void Collected() {
    std::lock_guard lock(mutex_);
    uncollected_ = false;
  }

  const std::shared_ptr<platform::ReadHandle> inner_;
  mutable std::mutex mutex_;
  std::condition_variable interrupt_;
  bool hold_ = false;
  bool interrupted_ = false;
  bool uncollected_ = false;
  std::vector<std::uint32_t> waitTimes_;
};

class ObservedReadBackend : public platform::Backend {
 public:
  explicit ObservedReadBackend(platform::virt::VirtualBus& bus) : bus_(bus) {}

  // The read handle opened last.
  std::shared_ptr<ObservedReadHandle> LastReadHandle() const {
    std::lock_guard lock(mutex_);
    return last_;
  }

  bool Load() override { return bus_.Load(); }
  void Release() override { bus_.Release(); }
  bool IsLoaded() const override { return bus_.IsLoaded(); }
  std::unique_ptr<platform::Snapshot> GetPresentInterfaces() override { return bus_.GetPresentInterfaces(); }
  std::unique_ptr<platform::DeviceHandle> Open(const std::string& path, bool readWrite, int* error,
                                               std::uint32_t* nativeError) override {
    return bus_.Open(path, readWrite, error, nativeError);
  }
  std::shared_ptr<platform::ReadHandle> OpenRead(const std::string& path, int* error) override {
    auto inner = bus_.OpenRead(path, error);
    if (!inner) return nullptr;
    auto observed = std::make_shared<ObservedReadHandle>(std::move(inner));
    std::lock_guard lock(mutex_);
    last_ = observed;
    return observed;
  }
  std::unique_ptr<platform::Monitor> CreateMonitor() override { return bus_.CreateMonitor(); }

 private:
  platform::virt::VirtualBus& bus_;
  mutable std::mutex mutex_;
  std::shared_ptr<ObservedReadHandle> last_;
};

}  // namespace hid::test
