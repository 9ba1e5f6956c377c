#include "hid/platform/virtual/VirtualReadHandle.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "hid/platform/virtual/VirtualDevice.h"

namespace hid::platform::virt {

VirtualReadHandle::VirtualReadHandle(std::shared_ptr<VirtualDevice> device) : device_(std::move(device)) {
  device_->HandleOpened(true);
}

VirtualReadHandle::~VirtualReadHandle() { Close(); }

void VirtualReadHandle::CompleteLocked() {
  if (state_ != State::Pending || reports_.empty()) return;
  const auto& report = reports_.front();
  count_ = static_cast<std::uint32_t>(std::min<std::size_t>(report.size(), length_));
  std::memcpy(buffer_, report.data(), count_);
  reports_.pop_front();
  ok_ = true;
  buffer_ = nullptr;
  state_ = State::Done;
}

void VirtualReadHandle::FailLocked(int error) {
  if (state_ != State::Pending) return;
  ok_ = false;
  count_ = 0;
  buffer_ = nullptr;
  lastError_ = error;
  state_ = State::Done;
}

bool VirtualReadHandle::StartRead(std::uint8_t* buffer, std::uint32_t length) {
  std::lock_guard lock(mutex_);
  if (closed_) {
    lastError_ = EBADF;
  } else if (gone_ || !device_->Plugged()) {
    lastError_ = ENODEV;
  } else if (state_ == State::Pending) {
    lastError_ = EBUSY;  // one read at a time; a completed one's untaken result is dropped
  } else if (buffer == nullptr || length == 0) {
    lastError_ = EINVAL;
  } else {
    buffer_ = buffer;
    length_ = length;
    state_ = State::Pending;
    CompleteLocked();
    return true;
  }
  return false;
}

WaitResult VirtualReadHandle::Wait(std::uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  const auto ended = [this] { return state_ != State::Pending || interrupted_; };
  if (timeoutMs == kInfiniteWait) {
    changed_.wait(lock, ended);
  } else {
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ended);
  }
  if (state_ != State::Pending) return WaitResult::IoCompletion;
  if (interrupted_) {
    interrupted_ = false;
    return WaitResult::Interrupted;
  }
  return WaitResult::Timeout;
}

bool VirtualReadHandle::GetResult(std::uint32_t* count) {
  std::lock_guard lock(mutex_);
  *count = 0;
  if (state_ != State::Done) {
    lastError_ = state_ == State::Pending ? EINPROGRESS : EINVAL;
    return false;
  }
  state_ = State::Idle;
  if (!ok_) return false;
  *count = count_;
  return true;
}

bool VirtualReadHandle::Cancel() {
  std::lock_guard lock(mutex_);
  if (closed_) {
    lastError_ = EBADF;
    return false;
  }
  if (state_ == State::Pending) device_->CountCancel();
  state_ = State::Idle;
  buffer_ = nullptr;
  return true;
}

void VirtualReadHandle::Interrupt() {
  {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  changed_.notify_all();
}

void VirtualReadHandle::Close() {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    reports_.clear();
    FailLocked(ECANCELED);
  }
  changed_.notify_all();
  device_->HandleClosed(true);
}

int VirtualReadHandle::LastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

bool VirtualReadHandle::Push(std::vector<std::uint8_t> report) {
  {
    std::lock_guard lock(mutex_);
    if (closed_ || gone_) return false;
    reports_.push_back(std::move(report));
    CompleteLocked();
  }
  // Outside the lock, so the woken reader does not wait for it.
  changed_.notify_all();
  return true;
}

void VirtualReadHandle::DeviceGone() {
  {
    std::lock_guard lock(mutex_);
    gone_ = true;
    reports_.clear();
    FailLocked(ENODEV);
  }
  changed_.notify_all();
}

bool VirtualReadHandle::ReadOutstanding() const {
  std::lock_guard lock(mutex_);
  return state_ == State::Pending;
}

}  // namespace hid::platform::virt
