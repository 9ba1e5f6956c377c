#include "hid/THidDeviceReadThread.h"

#include <algorithm>
#include <chrono>

#include "hid/MainThreadQueue.h"
#include "hid/THidDevice.h"

namespace hid {

THidDeviceReadThread::THidDeviceReadThread(THidDevice& device, MainThreadQueue& queue)
    : device_(device), queue_(queue) {
  platform::HIDP_CAPS caps;
  device_.ReadCaps(caps);
  buffer_.resize(caps.InputReportByteLength);
}

THidDeviceReadThread::~THidDeviceReadThread() {
  if (thread_.joinable()) StopAndJoin();
}

void THidDeviceReadThread::Start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void THidDeviceReadThread::RequestStop() {
  std::shared_ptr<platform::ReadHandle> active;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    active = active_;
  }
  stopSignal_.notify_all();
  if (active) active->Interrupt();
}

void THidDeviceReadThread::StopAndJoin() {
  RequestStop();
  if (!thread_.joinable()) return;
  // Keep serving hand-offs: the reader may be blocked in one.
  queue_.ServeUntil([this] { return Finished(); }, std::chrono::milliseconds::max(),
                    MainThreadQueue::Serve::HandOffsOnly);
  thread_.join();
}

std::exception_ptr THidDeviceReadThread::Failure() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

bool THidDeviceReadThread::StopRequested() const {
  std::lock_guard lock(mutex_);
  return stop_;
}

bool THidDeviceReadThread::WaitForStop(std::uint32_t ms) {
  std::unique_lock lock(mutex_);
  return stopSignal_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_; });
}

bool THidDeviceReadThread::SetActive(std::shared_ptr<platform::ReadHandle> handle) {
  std::lock_guard lock(mutex_);
  active_ = std::move(handle);
  return !stop_;
}

void THidDeviceReadThread::Run() {
  std::shared_ptr<platform::ReadHandle> outstanding;
  std::exception_ptr failure;
  const auto length = static_cast<std::uint32_t>(buffer_.size());
  while (!StopRequested()) {
    std::fill(buffer_.begin(), buffer_.end(), 0);
    int error = 0;
    auto handle = device_.StartOverlappedRead(buffer_.data(), length, &error);
    if (!handle) {
      error_.store(static_cast<std::uint32_t>(error));
      failure = queue_.Invoke([this] { device_.DeliverError(error_.load()); });
      if (failure) break;
      // The read cannot start (device gone, handle closed): try again after
      // one wait time rather than spinning.
      WaitForStop(device_.ReaderWaitTime());
      continue;
    }
    if (!SetActive(handle)) {
      outstanding = handle;
      break;
    }
    platform::WaitResult wait = platform::WaitResult::Timeout;
    while (!StopRequested()) {
      wait = handle->Wait(device_.ReaderWaitTime());
      if (wait == platform::WaitResult::IoCompletion) break;
    }
    SetActive(nullptr);
    if (StopRequested()) {
      if (wait != platform::WaitResult::IoCompletion) outstanding = handle;
      break;
    }
    std::uint32_t count = 0;
    if (!handle->GetResult(&count)) count = 0;
    count_ = std::min<std::uint32_t>(count, length);
    if (count_ > 0) {
      failure = queue_.Invoke([this] { device_.DeliverReport(buffer_.data(), count_); });
      if (failure) break;
    } else {
      // A read that ends without data (aborted, device gone) delivers nothing;
      // pause before the next attempt so a dead handle cannot make us spin.
      WaitForStop(device_.ReaderWaitTime());
    }
  }
  if (outstanding) outstanding->Cancel();
  {
    std::lock_guard lock(mutex_);
    failure_ = failure;
    active_.reset();
  }
  finished_.store(true);
  queue_.Notify();
}

}  // namespace hid
