#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "hid/platform/virtual/VirtualMonitor.h"

namespace hid::platform::virt {

namespace {

// The eventfd behind a descriptor monitor.
class EventCounter final : public MonitorSignal {
 public:
  EventCounter() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  }
  ~EventCounter() override { close(fd_); }
  EventCounter(const EventCounter&) = delete;
  EventCounter& operator=(const EventCounter&) = delete;

  int fd() const { return fd_; }

  void Signal() override {
    const std::uint64_t one = 1;
    ssize_t n;
    do {
      n = write(fd_, &one, sizeof one);
    } while (n < 0 && errno == EINTR);
  }

  // Consumes what is pending; true when anything was.
  bool Drain() {
    std::uint64_t value = 0;
    ssize_t n;
    do {
      n = read(fd_, &value, sizeof value);
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(sizeof value) && value > 0;
  }

 private:
  int fd_;
};

class DescriptorMonitor final : public Monitor {
 public:
  explicit DescriptorMonitor(std::shared_ptr<EventCounter> counter) : counter_(std::move(counter)) {}
  int fd() const override { return counter_->fd(); }
  bool Drain() override { return counter_->Drain(); }

 private:
  std::shared_ptr<EventCounter> counter_;
};

}  // namespace

MadeMonitor MakeDescriptorMonitor() {
  auto counter = std::make_shared<EventCounter>();
  return MadeMonitor{std::make_unique<DescriptorMonitor>(counter), counter};
}

}  // namespace hid::platform::virt
