// The read handle on one top-level collection of a hidraw node: its own
// O_RDONLY | O_NONBLOCK fd, a started read that Wait completes by polling the
// fd together with an eventfd that Interrupt and Close signal.
//
// A read delivers the report id first, as the platform promises: hidraw puts
// it there itself for a device that uses report ids, and for one that does
// not the handle puts a 0 before the data.
//
// Thread rules: StartRead, Wait, GetResult and Cancel belong to the reader
// thread and run under ioMutex_; Wait holds it while it polls. Interrupt and
// Close may come from any thread: both signal the eventfd under wakeMutex_, so
// a Wait in progress returns at once; Close then takes ioMutex_ (free again
// once that Wait has returned) to close the fd, and closes the eventfd last.
#pragma once

#include <atomic>
#include <bitset>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/linux/HidrawNodeInfo.h"

namespace hid::platform::linux_ {

class HidrawReadHandle final : public ReadHandle {
 public:
  // Opens `path` (a node path, possibly with a collection suffix). On a node
  // with several top-level collections only the reports of the path's
  // collection complete a read (CollectionReportFilter.h). With `found`
  // (what a scan found at the node) a node that now belongs to another device
  // is refused with ENODEV. nullptr on failure, *error = errno.
  static std::shared_ptr<HidrawReadHandle> Open(const std::string& path, const HidrawNodeInfo* found, int* error);

  ~HidrawReadHandle() override;
  HidrawReadHandle(const HidrawReadHandle&) = delete;
  HidrawReadHandle& operator=(const HidrawReadHandle&) = delete;

  bool StartRead(std::uint8_t* buffer, std::uint32_t length) override;
  WaitResult Wait(std::uint32_t timeoutMs) override;
  bool GetResult(std::uint32_t* count) override;
  bool Cancel() override;
  void Interrupt() override;
  void Close() override;
  int LastError() const override { return lastError_.load(); }

  // Report ids that complete a read; nullopt: every report does.
  const std::optional<std::bitset<256>>& ReportFilter() const { return filter_; }

 private:
  HidrawReadHandle(int fd, int wakeFd, std::optional<std::bitset<256>> filter, bool numbered);

  enum class State { Idle, Pending, Done, Failed };

  // Called with ioMutex_ held.
  WaitResult Complete(State state, std::uint32_t count, int error);
  // Reads one report; true when the started read completed.
  bool ReadOne(int* error);
  void DrainWake();

  std::mutex ioMutex_;
  std::mutex wakeMutex_;
  int fd_;
  int wakeFd_;
  std::once_flag closeOnce_;
  std::atomic<bool> closing_{false};
  std::atomic<int> lastError_{0};
  std::optional<std::bitset<256>> filter_;
  const bool numbered_;  // the device's reports carry their id

  State state_ = State::Idle;
  bool gone_ = false;  // the device reported it is gone: no further reads start
  std::uint8_t* buffer_ = nullptr;
  std::uint32_t length_ = 0;
  std::uint32_t count_ = 0;
  std::vector<std::uint8_t> scratch_;  // one report, allocated once
};

}  // namespace hid::platform::linux_
