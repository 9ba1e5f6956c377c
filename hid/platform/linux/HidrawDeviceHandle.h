// The main handle on one top-level collection of a hidraw node. Attributes,
// capabilities and strings come from what sysfs says about the node (the
// scan's record, or a fresh look); the node itself is asked only for the
// report descriptor when sysfs has none. Opened with access rights it holds
// an O_RDWR fd for writes; opened without, it holds none and its writes fail
// with EACCES. Used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/descriptor/ReportDescriptor.h"
#include "hid/platform/linux/HidrawNodeInfo.h"

namespace hid::platform::linux_ {

class HidrawDeviceHandle final : public DeviceHandle {
 public:
  // Takes ownership of `fd` (-1: opened without access rights). `node` is the
  // path it was opened by, for error texts.
  HidrawDeviceHandle(std::string node, std::shared_ptr<const HidrawNodeInfo> info, std::size_t collection, int fd);
  ~HidrawDeviceHandle() override;
  HidrawDeviceHandle(const HidrawDeviceHandle&) = delete;
  HidrawDeviceHandle& operator=(const HidrawDeviceHandle&) = delete;

  bool GetAttributes(HIDD_ATTRIBUTES& out) override;
  bool GetCaps(HIDP_CAPS& out) override;
  bool GetProductString(WideChar* buffer, std::uint32_t bufferBytes) override;
  bool GetSerialNumberString(WideChar* buffer, std::uint32_t bufferBytes) override;
  bool GetIndexedString(std::uint32_t index, WideChar* buffer, std::uint32_t bufferBytes) override;
  bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override;
  int LastError() const override { return lastError_; }
  std::string ErrorText() const override { return errorText_; }

  bool HasAccessRights() const { return fd_ >= 0; }

 private:
  bool Fail(int error, const std::string& what);
  bool CopyString(const std::optional<std::string>& text, const char* what, WideChar* buffer,
                  std::uint32_t bufferBytes);
  const descriptor::ReportDescriptor* Descriptor();

  const std::string node_;
  const std::shared_ptr<const HidrawNodeInfo> info_;
  std::size_t collection_;
  int fd_;
  std::shared_ptr<const descriptor::ReportDescriptor> descriptor_;
  int lastError_ = 0;
  std::string errorText_;
};

}  // namespace hid::platform::linux_
