#include "hid/THidDeviceReadThread.h"

#include <algorithm>
#include <cerrno>
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
  if (ms == platform::kInfiniteWait) {
    stopSignal_.wait(lock, [this] { return stop_; });
    return true;
  }
  return stopSignal_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_; });
}

bool THidDeviceReadThread::SetActive(std::shared_ptr<platform::ReadHandle> handle) {
  std::lock_guard lock(mutex_);
  active_ = std::move(handle);
  return !stop_;
}

namespace {

// A read that cannot start for one of these reasons never will while this
// reader runs: the device is gone, or it has no input reports. Others (an
// fd limit reached, a handle closed under a start) may pass.
bool Lasting(int error) { return error == ENODEV || error == EINVAL; }

}  // namespace

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
      // Reported once; then wait for the stop, or one wait time before the
      // next attempt when the cause may pass. Never a tight loop.
      WaitForStop(Lasting(error) ? platform::kInfiniteWait : device_.ReaderWaitTime());
      continue;
    }
    if (!SetActive(handle)) {
      outstanding = handle;
      break;
    }
    // A stop interrupts the wait; nothing else needs it to end.
    platform::WaitResult wait = platform::WaitResult::Interrupted;
    while (!StopRequested()) {
      wait = handle->Wait(platform::kInfiniteWait);
      if (wait == platform::WaitResult::IoCompletion) break;
    }
    SetActive(nullptr);
    if (wait != platform::WaitResult::IoCompletion) {
      outstanding = handle;  // stopped with the read still outstanding
      break;
    }
    // Collected also when a stop came meanwhile, so the handle takes the
    // next reader's read; the report then goes undelivered, as a stop asks.
    std::uint32_t count = 0;
    if (!handle->GetResult(&count)) count = 0;
    if (StopRequested()) break;
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
