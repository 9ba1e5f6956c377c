// Writes output reports on a thread of its own, so that the main thread never
// waits on a device: a write that the device does not take ends after the
// platform's time limit (kWriteTimeLimitMs) and fails with ETIMEDOUT.
//
// Writes run one at a time, in the order they were asked for. The outcome of
// each reaches the main thread through the hand-off queue (posted, never from
// inside Write). Outcomes still on their way when the writer goes are not
// delivered. Main thread only; one writer per write handle.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "hid/platform/HidPlatform.h"

namespace hid {

class MainThreadQueue;
class THidDevice;

class ReportWriter {
 public:
  struct Outcome {
    bool ok = false;
    std::uint32_t written = 0;  // bytes the device took
    int error = 0;              // errno-style reason of a failure
    std::uint32_t nativeError = 0;  // the platform's own code for it (0: none)
  };
  using Done = std::function<void(const Outcome&)>;

  explicit ReportWriter(MainThreadQueue& queue);
  // Waits for the write under way (at most its time limit); writes that have
  // not started are dropped.
  ~ReportWriter();
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  // Writes `report` (report id first) to `device`. When the device may not
  // be written (not present, not checked out, no access rights) the failure
  // is posted at once with the reason THidDevice::WriteReport gives.
  void Write(THidDevice& device, std::vector<std::uint8_t> report, Done done);

 private:
  struct Job {
    std::shared_ptr<platform::DeviceHandle> handle;  // null: failed before it started
    std::vector<std::uint8_t> report;
    Done done;
    int error = 0;
    std::uint32_t nativeError = 0;
  };

  void Run();
  void Deliver(Done done, const Outcome& outcome);

  MainThreadQueue& queue_;
  // Main thread only: false once the writer is gone, for outcomes still queued.
  const std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  std::thread thread_;  // last: starts once the rest is made
};

}  // namespace hid
