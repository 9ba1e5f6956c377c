#include "hid/platform/linux/HidrawReadHandle.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <limits>

#include "hid/platform/linux/CollectionReportFilter.h"
#include "hid/platform/linux/HidrawNodeLookup.h"
#include "hid/platform/linux/HidrawPath.h"
#include "hid/platform/linux/ReportDescriptorSource.h"

namespace hid::platform::linux_ {

namespace {

// The largest report hidraw hands out (HID_MAX_BUFFER_SIZE).
constexpr std::size_t kMaxReport = 16384;

}  // namespace

std::shared_ptr<HidrawReadHandle> HidrawReadHandle::Open(const std::string& path, const HidrawNodeInfo* found,
                                                         int* error) {
  const HidrawPath parsed = ParseHidrawPath(path);
  const int fd = ::open(parsed.node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = errno;
    return nullptr;
  }
  auto refuse = [&](int why) {
    ::close(fd);
    if (error) *error = why;
    return nullptr;
  };
  // The device the fd is bound to must be the one the scan found there.
  const auto syspath = HidrawSyspathOfFd(fd, parsed.node);
  if (found != nullptr && syspath != found->syspath) return refuse(ENODEV);
  // Which reports belong to this handle's collection. A path that names a
  // collection cannot do without the descriptor.
  auto parsedDescriptor = found != nullptr ? found->descriptor : nullptr;
  if (!parsedDescriptor) parsedDescriptor = LoadReportDescriptor(syspath ? HidParentPath(*syspath) : std::string(), fd);
  if (parsed.namesCollection && !parsedDescriptor) return refuse(EIO);
  if (parsed.namesCollection && parsed.collection >= parsedDescriptor->collections.size()) return refuse(ENOENT);
  std::optional<std::bitset<256>> filter;
  bool numbered = true;  // without a sound descriptor: pass the reports on as they come
  if (parsedDescriptor) {
    filter = CollectionReportFilter(*parsedDescriptor, parsed.collection);
    numbered = !parsedDescriptor->ok() || parsedDescriptor->usesReportIds;
  }
  const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd < 0) return refuse(errno);
  return std::shared_ptr<HidrawReadHandle>(new HidrawReadHandle(fd, wakeFd, filter, numbered));
}

HidrawReadHandle::HidrawReadHandle(int fd, int wakeFd, std::optional<std::bitset<256>> filter, bool numbered)
    : fd_(fd), wakeFd_(wakeFd), filter_(std::move(filter)), numbered_(numbered), scratch_(kMaxReport) {}

HidrawReadHandle::~HidrawReadHandle() { Close(); }

bool HidrawReadHandle::StartRead(std::uint8_t* buffer, std::uint32_t length) {
  std::lock_guard io(ioMutex_);
  int error = 0;
  if (fd_ < 0 || closing_) {
    error = EBADF;
  } else if (gone_) {
    error = ENODEV;
  } else if (state_ == State::Pending) {
    error = EBUSY;
  } else if (buffer == nullptr || length == 0) {
    error = EINVAL;
  }
  if (error != 0) {
    lastError_ = error;
    return false;
  }
  buffer_ = buffer;
  length_ = length;
  count_ = 0;
  state_ = State::Pending;
  return true;
}

WaitResult HidrawReadHandle::Complete(State state, std::uint32_t count, int error) {
  state_ = state;
  count_ = count;
  buffer_ = nullptr;
  if (error != 0) lastError_ = error;
  return WaitResult::IoCompletion;
}

void HidrawReadHandle::DrainWake() {
  std::uint64_t counter = 0;
  while (::read(wakeFd_, &counter, sizeof counter) < 0 && errno == EINTR) {
  }
}

bool HidrawReadHandle::ReadOne(int* error) {
  for (;;) {
    const ssize_t n = ::read(fd_, scratch_.data(), scratch_.size());
    if (n > 0) {
      const std::uint8_t id = numbered_ ? scratch_[0] : 0;
      if (filter_ && !filter_->test(id)) return false;  // another collection's report
      std::uint32_t count = 0;
      if (numbered_) {
        count = std::min<std::uint32_t>(static_cast<std::uint32_t>(n), length_);
        std::memcpy(buffer_, scratch_.data(), count);
      } else {
        buffer_[0] = 0;
        count = 1 + std::min<std::uint32_t>(static_cast<std::uint32_t>(n), length_ - 1);
        std::memcpy(buffer_ + 1, scratch_.data(), count - 1);
      }
      Complete(State::Done, count, 0);
      return true;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return false;  // nothing there after all
    *error = n == 0 ? ENODEV : errno;            // end of file: the node went away
    return true;
  }
}

WaitResult HidrawReadHandle::Wait(std::uint32_t timeoutMs) {
  std::lock_guard io(ioMutex_);
  if (state_ != State::Pending) return WaitResult::IoCompletion;
  if (closing_ || fd_ < 0) return Complete(State::Failed, 0, ECANCELED);

  using Clock = std::chrono::steady_clock;
  const bool untimed = timeoutMs == kInfiniteWait;
  const auto deadline = Clock::now() + std::chrono::milliseconds(untimed ? 0 : timeoutMs);
  for (;;) {
    int pollTimeout = -1;  // no limit
    if (!untimed) {
      const long long left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      pollTimeout = static_cast<int>(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
    }
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int r = ::poll(fds, 2, pollTimeout);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return Complete(State::Failed, 0, errno);
    if (closing_) return Complete(State::Failed, 0, ECANCELED);
    if (fds[1].revents & POLLIN) {
      DrainWake();
      return WaitResult::Interrupted;
    }
    if (fds[0].revents & POLLIN) {
      int error = 0;
      if (ReadOne(&error)) {
        if (error == 0) return WaitResult::IoCompletion;
        // ENODEV / EIO once the device is unplugged; any hard error ends the
        // handle's reads, so the reader is not sent round a failing loop.
        gone_ = true;
        return Complete(State::Failed, 0, error);
      }
    } else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
      gone_ = true;
      return Complete(State::Failed, 0, ENODEV);
    }
    if (!untimed && (r == 0 || Clock::now() >= deadline)) return WaitResult::Timeout;
  }
}

bool HidrawReadHandle::GetResult(std::uint32_t* count) {
  std::lock_guard io(ioMutex_);
  const bool done = state_ == State::Done;
  if (count != nullptr) *count = done ? count_ : 0;
  return done;
}

bool HidrawReadHandle::Cancel() {
  std::lock_guard io(ioMutex_);
  if (fd_ < 0) {
    lastError_ = EBADF;
    return false;
  }
  if (state_ == State::Pending) Complete(State::Failed, 0, ECANCELED);
  return true;
}

void HidrawReadHandle::Interrupt() {
  std::lock_guard wake(wakeMutex_);
  if (wakeFd_ < 0) return;
  const std::uint64_t one = 1;
  while (::write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void HidrawReadHandle::Close() {
  // A second Close, from whatever thread, returns once the first is done.
  std::call_once(closeOnce_, [this] {
    closing_ = true;
    Interrupt();  // ends a Wait in progress, which then frees ioMutex_
    {
      std::lock_guard io(ioMutex_);
      if (state_ == State::Pending) Complete(State::Failed, 0, ECANCELED);
      ::close(fd_);
      fd_ = -1;
    }
    std::lock_guard wake(wakeMutex_);
    ::close(wakeFd_);
    wakeFd_ = -1;
  });
}

}  // namespace hid::platform::linux_
