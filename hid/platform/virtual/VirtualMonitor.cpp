#include "hid/platform/virtual/VirtualMonitor.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace hid::platform::virt {

EventCounter::EventCounter() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

EventCounter::~EventCounter() { close(fd_); }

void EventCounter::Signal() {
  const std::uint64_t one = 1;
  ssize_t n;
  do {
    n = write(fd_, &one, sizeof one);
  } while (n < 0 && errno == EINTR);
}

bool EventCounter::Drain() {
  std::uint64_t value = 0;
  ssize_t n;
  do {
    n = read(fd_, &value, sizeof value);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(sizeof value) && value > 0;
}

}  // namespace hid::platform::virt
