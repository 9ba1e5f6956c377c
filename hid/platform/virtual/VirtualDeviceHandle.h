// Main (synchronous) handle on a virtual device, opened with or without
// access rights. Every operation fails with ENODEV once the device is gone.
#pragma once

#include <memory>
#include <string>

#include "hid/platform/HidPlatform.h"

namespace hid::platform::virt {

class VirtualDevice;

class VirtualDeviceHandle : public DeviceHandle {
 public:
  VirtualDeviceHandle(std::shared_ptr<VirtualDevice> device, bool readWrite);
  ~VirtualDeviceHandle() override;

  bool GetAttributes(HIDD_ATTRIBUTES& out) override;
  bool GetCaps(HIDP_CAPS& out) override;
  bool GetProductString(WideChar* buffer, std::uint32_t bufferBytes) override;
  bool GetSerialNumberString(WideChar* buffer, std::uint32_t bufferBytes) override;
  bool GetIndexedString(std::uint32_t index, WideChar* buffer, std::uint32_t bufferBytes) override;
  bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override;
  int LastError() const override { return lastError_; }
  std::uint32_t NativeError() const override { return lastNative_; }
  std::string ErrorText() const override;

 private:
  bool Check(bool condition, int error);
  bool CopyString(const std::u16string& text, WideChar* buffer, std::uint32_t bufferBytes);

  const std::shared_ptr<VirtualDevice> device_;
  const bool readWrite_;
  int lastError_ = 0;
  std::uint32_t lastNative_ = 0;  // of the last write
  std::string lastOperation_;
};

}  // namespace hid::platform::virt
