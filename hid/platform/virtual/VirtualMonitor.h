// Device-change notifications of the virtual bus: an eventfd that becomes
// readable on every plug and unplug, watched by the host exactly like the
// Linux binding's monitor.
#pragma once

#include <memory>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::virt {

// The eventfd behind a monitor; the bus keeps a weak reference to signal it.
class EventCounter {
 public:
  EventCounter();  // throws std::system_error when no eventfd can be made
  ~EventCounter();
  EventCounter(const EventCounter&) = delete;
  EventCounter& operator=(const EventCounter&) = delete;

  int fd() const { return fd_; }
  void Signal();
  // Consumes what is pending; true when anything was.
  bool Drain();

 private:
  int fd_;
};

class VirtualMonitor : public Monitor {
 public:
  explicit VirtualMonitor(std::shared_ptr<EventCounter> counter) : counter_(std::move(counter)) {}
  int fd() const override { return counter_->fd(); }
  bool Drain() override { return counter_->Drain(); }

 private:
  std::shared_ptr<EventCounter> counter_;
};

}  // namespace hid::platform::virt
