// The synchronous ("main") handle on one HID interface: CreateFile with or
// without access rights; attributes, capabilities and strings through hid.dll;
// output reports with an overlapped WriteFile that is given up (CancelIo)
// after the write time limit. A handle opened with access rights is closed
// when the system asks to remove its device (RemovalRequests); every call
// then fails with ENODEV.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/windows/HidLibraries.h"
#include "hid/platform/windows/RemovalRequests.h"

namespace hid::platform::windows {

class HidDeviceHandle final : public DeviceHandle {
 public:
  // nullptr when CreateFile refuses; *error (errno-style), *code (the Win32
  // error, when given) and *text say why.
  // A handle with access rights is watched by `removals` (when given).
  static std::unique_ptr<HidDeviceHandle> Open(std::shared_ptr<const HidLibraries> libs, const std::string& path,
                                               bool readWrite, int* error, std::string* text,
                                               std::uint32_t* code = nullptr,
                                               std::shared_ptr<RemovalRequests> removals = nullptr);
  ~HidDeviceHandle() override;
  HidDeviceHandle(const HidDeviceHandle&) = delete;
  HidDeviceHandle& operator=(const HidDeviceHandle&) = delete;

  bool GetAttributes(HIDD_ATTRIBUTES& out) override;
  bool GetCaps(HIDP_CAPS& out) override;
  bool GetProductString(WideChar* buffer, std::uint32_t bufferBytes) override;
  bool GetSerialNumberString(WideChar* buffer, std::uint32_t bufferBytes) override;
  bool GetIndexedString(std::uint32_t index, WideChar* buffer, std::uint32_t bufferBytes) override;
  bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override;
  int LastError() const override { return lastError_; }
  std::uint32_t NativeError() const override { return lastCode_; }
  std::string ErrorText() const override { return errorText_; }
  // The file handle, as device notifications name it.
  HANDLE File() const { return file_; }

 private:
  HidDeviceHandle(std::shared_ptr<const HidLibraries> libs, HANDLE file, std::string path, bool overlapped)
      : libs_(std::move(libs)), file_(file), path_(std::move(path)), overlapped_(overlapped) {}
  // Keeps GetLastError's code of the call `what` that failed; returns false.
  bool Fail(const char* what);
  bool Succeed();
  // Closes the file for a removal; waits for a write under way.
  void CloseForRemoval();
  // False (with ENODEV) once the file was closed for a removal.
  bool Usable(const char* what);

  std::shared_ptr<const HidLibraries> libs_;
  HANDLE file_;
  std::string path_;
  const bool overlapped_;  // opened with read and write access
  std::mutex mutex_;       // one call at a time, and the close for a removal
  bool removed_ = false;
  std::shared_ptr<RemovalRequests> removals_;
  std::uint64_t watch_ = 0;
  int lastError_ = 0;
  DWORD lastCode_ = ERROR_SUCCESS;  // the Win32 error behind lastError_, where there is one
  std::string errorText_;
};

}  // namespace hid::platform::windows
