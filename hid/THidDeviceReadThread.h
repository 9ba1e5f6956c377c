// The reader of one checked-out device: a thread that keeps one read
// outstanding on the device's read handle and hands every input report to the
// main thread, waiting until it has been handled there. It waits for the read
// without a time limit (a stop interrupts the wait), so an idle device costs
// no wake-ups. A read that cannot start is reported once, then retried after
// the device's wait time, or not at all when it never can (device gone, no
// input reports).
//
// Made by THidDevice::StartReader on the main thread (the report buffer is
// allocated once, from the device's input report length), stopped and joined
// by THidDevice::StopReader. Never restarted: the device makes a new one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "hid/platform/HidPlatform.h"

namespace hid {

class MainThreadQueue;
class THidDevice;

class THidDeviceReadThread {
 public:
  THidDeviceReadThread(THidDevice& device, MainThreadQueue& queue);
  // Stops and joins if still running.
  ~THidDeviceReadThread();
  THidDeviceReadThread(const THidDeviceReadThread&) = delete;
  THidDeviceReadThread& operator=(const THidDeviceReadThread&) = delete;

  void Start();
  // Asks the reader to stop; a wait in progress ends at once. Any thread.
  void RequestStop();
  // Main thread: RequestStop, then serve hand-offs until the reader has
  // ended, and join it.
  void StopAndJoin();

  bool Finished() const { return finished_.load(); }
  // The exception that escaped a handler and ended the run, if any.
  std::exception_ptr Failure() const;
  // Platform error of the last read that failed to start.
  std::uint32_t Error() const { return error_.load(); }

 private:
  void Run();
  bool StopRequested() const;
  // Waits up to `ms` (kInfiniteWait: no limit) for a stop request; true when one came.
  bool WaitForStop(std::uint32_t ms);
  // Publishes the handle a read runs on, so a stop can interrupt its wait.
  // False when a stop came first.
  bool SetActive(std::shared_ptr<platform::ReadHandle> handle);

  THidDevice& device_;
  MainThreadQueue& queue_;
  std::vector<std::uint8_t> buffer_;
  std::atomic<std::uint32_t> error_{0};
  std::uint32_t count_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable stopSignal_;
  bool stop_ = false;
  std::shared_ptr<platform::ReadHandle> active_;
  std::exception_ptr failure_;
  std::atomic<bool> finished_{false};
};

}  // namespace hid
