// The Linux binding of the platform HID services: libudev (loaded at run
// time) for notifications, sysfs for the snapshot and what it tells about
// each device, hidraw nodes for I/O.
//
//   auto backend = std::make_unique<hid::platform::linux_::LinuxHidBackend>();
//   if (backend->Load()) { auto snapshot = backend->GetPresentInterfaces(); ... }
//
// Load/Release are counted: the Load that takes the count to 1 loads libudev
// and binds every entry (all or nothing); the Release that takes it to 0
// forgets the library, which is unloaded once no monitor still uses it.
// Without the library nothing is scanned or opened, as on a system whose
// device services are missing.
//
// A node is opened by path; the kernel gives a freed node number to the next
// device, so an open checks the node against the device a scan found there
// and fails with ENODEV when another device has it now. Every operation is
// thread-safe; a reader thread may open its read handle while the main thread
// scans.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/linux/DepartedNodes.h"
#include "hid/platform/linux/FoundNodes.h"
#include "hid/platform/linux/UdevLibrary.h"

namespace hid::platform::linux_ {

class LinuxHidBackend final : public Backend {
 public:
  static constexpr const char* kDefaultLibrary = "libudev.so.1";

  // `libraryName` is what dlopen is given (a name or a path).
  explicit LinuxHidBackend(std::string libraryName = kDefaultLibrary);
  ~LinuxHidBackend() override;

  bool Load() override;
  void Release() override;
  bool IsLoaded() const override;
  std::unique_ptr<Snapshot> GetPresentInterfaces() override;
  std::unique_ptr<DeviceHandle> Open(const std::string& devicePath, bool readWrite, int* error = nullptr,
                                     std::uint32_t* nativeError = nullptr) override;
  std::shared_ptr<ReadHandle> OpenRead(const std::string& devicePath, int* error = nullptr) override;
  std::unique_ptr<Monitor> CreateMonitor() override;

  // A monitor on a given netlink source ("udev" or "kernel").
  std::unique_ptr<Monitor> CreateMonitor(const std::string& source);
  // Why the last Load failed; empty after a successful one.
  std::string LoadErrorText() const;

 private:
  mutable std::mutex mutex_;
  const std::string libraryName_;
  int loadCount_ = 0;
  std::shared_ptr<UdevLibrary> lib_;
  std::string loadError_;
  // Devices whose removal the monitors have seen; shared with them.
  std::shared_ptr<DepartedNodes> departed_ = std::make_shared<DepartedNodes>();
  // What the scans found at each node.
  FoundNodes found_;
};

}  // namespace hid::platform::linux_
