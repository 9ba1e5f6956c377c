// Device-change notifications from a udev monitor on subsystem "hidraw".
//
// The monitor listens to the udev daemon's events where one runs
// (/run/udev/control exists). Where none runs (containers, a bare initramfs)
// nothing would ever arrive from that source, so the kernel's own uevents
// ("kernel" netlink source) are used instead.
//
// The socket's receive buffer holds the events of a hub of devices arriving
// at once. Should it overflow all the same, the lost events still count as a
// change, so a rescan follows.
#pragma once

#include <memory>
#include <string>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/linux/DepartedNodes.h"
#include "hid/platform/linux/UdevLibrary.h"

namespace hid::platform::linux_ {

class UdevMonitor final : public Monitor {
 public:
  // nullptr when the monitor cannot be made. `source` is "udev" or "kernel".
  // Removals and additions are recorded in `departed` when given.
  static std::unique_ptr<UdevMonitor> Create(std::shared_ptr<const UdevLibrary> lib, const std::string& source,
                                             std::shared_ptr<DepartedNodes> departed = nullptr);
  // "udev" where a udev daemon runs, else "kernel".
  static std::string DefaultSource();

  ~UdevMonitor() override;
  UdevMonitor(const UdevMonitor&) = delete;
  UdevMonitor& operator=(const UdevMonitor&) = delete;

  int fd() const override { return fd_; }
  // Receives everything pending; true when a hidraw node was added, removed
  // or changed, or when receiving failed (events may have been lost).
  bool Drain() override;
  const std::string& source() const { return source_; }

 private:
  UdevMonitor(std::shared_ptr<const UdevLibrary> lib, struct udev_monitor* monitor, int fd, std::string source,
              std::shared_ptr<DepartedNodes> departed)
      : lib_(std::move(lib)), monitor_(monitor), fd_(fd), source_(std::move(source)), departed_(std::move(departed)) {}

  std::shared_ptr<const UdevLibrary> lib_;  // keeps libudev loaded while the monitor lives
  struct udev_monitor* monitor_;
  int fd_;
  std::string source_;
  std::shared_ptr<DepartedNodes> departed_;
};

}  // namespace hid::platform::linux_
