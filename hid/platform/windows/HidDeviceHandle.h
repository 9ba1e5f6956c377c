// The synchronous ("main") handle on one HID interface: CreateFile with or
// without access rights; attributes, capabilities and strings through hid.dll;
// output reports with an overlapped WriteFile that is given up (CancelIo)
// after the write time limit.
#pragma once

#include <memory>
#include <string>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/windows/HidLibraries.h"

namespace hid::platform::windows {

class HidDeviceHandle final : public DeviceHandle {
 public:
  // nullptr when CreateFile refuses; *error (errno-style), *code (the Win32
  // error, when given) and *text say why.
  static std::unique_ptr<HidDeviceHandle> Open(std::shared_ptr<const HidLibraries> libs, const std::string& path,
                                               bool readWrite, int* error, std::string* text,
                                               std::uint32_t* code = nullptr);
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

 private:
  HidDeviceHandle(std::shared_ptr<const HidLibraries> libs, HANDLE file, std::string path, bool overlapped)
      : libs_(std::move(libs)), file_(file), path_(std::move(path)), overlapped_(overlapped) {}
  // Keeps GetLastError's code of the call `what` that failed; returns false.
  bool Fail(const char* what);
  bool Succeed();

  std::shared_ptr<const HidLibraries> libs_;
  HANDLE file_;
  std::string path_;
  const bool overlapped_;  // opened with read and write access
  int lastError_ = 0;
  DWORD lastCode_ = ERROR_SUCCESS;  // the Win32 error behind lastError_, where there is one
  std::string errorText_;
};

}  // namespace hid::platform::windows
