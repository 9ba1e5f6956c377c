#include <functional>
#include <mutex>

#include "hid/platform/virtual/VirtualMonitor.h"

namespace hid::platform::virt {

namespace {

class CallbackSignal final : public MonitorSignal {
 public:
  void SetNotify(std::function<void()> notify) {
    std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
  }
  // Under the lock, so that no call runs once the monitor has cleared it.
  void Signal() override {
    std::lock_guard lock(mutex_);
    if (notify_) notify_();
  }

 private:
  std::mutex mutex_;
  std::function<void()> notify_;
};

class CallbackMonitor final : public Monitor {
 public:
  explicit CallbackMonitor(std::shared_ptr<CallbackSignal> signal) : signal_(std::move(signal)) {}
  ~CallbackMonitor() override { signal_->SetNotify(nullptr); }
  CallbackMonitor(const CallbackMonitor&) = delete;
  CallbackMonitor& operator=(const CallbackMonitor&) = delete;

  int fd() const override { return -1; }
  bool Drain() override { return false; }  // nothing waits: the callback ran at once
  void SetNotify(std::function<void()> notify) override { signal_->SetNotify(std::move(notify)); }

 private:
  std::shared_ptr<CallbackSignal> signal_;
};

}  // namespace

MadeMonitor MakeCallbackMonitor() {
  auto signal = std::make_shared<CallbackSignal>();
  return MadeMonitor{std::make_unique<CallbackMonitor>(signal), signal};
}

}  // namespace hid::platform::virt
