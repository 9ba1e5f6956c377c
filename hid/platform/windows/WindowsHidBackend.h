// The Windows binding of the platform HID services: setupapi.dll and hid.dll
// loaded by name at run time, CreateFile/WriteFile for the main handle,
// overlapped reads for the read handle, WM_DEVICECHANGE for notifications.
//
//   hid::platform::windows::WindowsHidBackend backend;      // setupapi.dll, hid.dll
//   hid::platform::windows::WindowsHidBackend fake(dir + "\\fake-setupapi.dll", dir + "\\fake-hid.dll");
//
// Load/Release are counted: the Load that takes the count to 1 loads both
// libraries with all their entries (all or nothing; hid.dll only once
// setupapi.dll is there); later ones succeed at once. The Release that takes
// the count to 0 lets both go; handles still open keep them loaded until they
// close. Everything is serialised by one mutex, except OpenRead and the read
// handles, which use only kernel32, so a reader thread may open its handle
// while the main thread scans. CreateMonitor must be called on the thread
// whose message loop will serve the monitor (the main thread). Its window
// also closes the read and read/write handles of a device the system asks
// to remove (RemovalRequests), so that they do not block the removal.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::windows {

class HidLibraries;
class RemovalRequests;

class WindowsHidBackend final : public Backend {
 public:
  static constexpr const char* kDefaultSetupApi = "setupapi.dll";
  static constexpr const char* kDefaultHid = "hid.dll";

  // A bare name is loaded from the system folder; a name with a folder from there.
  explicit WindowsHidBackend(std::string setupApiName = kDefaultSetupApi, std::string hidName = kDefaultHid);
  ~WindowsHidBackend() override;

  bool Load() override;
  void Release() override;
  bool IsLoaded() const override;
  std::unique_ptr<Snapshot> GetPresentInterfaces() override;
  std::unique_ptr<DeviceHandle> Open(const std::string& devicePath, bool readWrite, int* error = nullptr,
                                     std::uint32_t* nativeError = nullptr) override;
  std::shared_ptr<ReadHandle> OpenRead(const std::string& devicePath, int* error = nullptr) override;
  std::unique_ptr<Monitor> CreateMonitor() override;

  // Why the last Load, Open, OpenRead or CreateMonitor failed.
  std::string ErrorText() const;

 private:
  mutable std::mutex mutex_;
  const std::string setupApiName_;
  const std::string hidName_;
  int loadCount_ = 0;
  std::shared_ptr<const HidLibraries> libs_;
  std::string errorText_;
  const std::shared_ptr<RemovalRequests> removals_;
};

}  // namespace hid::platform::windows
