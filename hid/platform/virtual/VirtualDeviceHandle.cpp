#include "hid/platform/virtual/VirtualDeviceHandle.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "hid/platform/virtual/VirtualDevice.h"

namespace hid::platform::virt {

VirtualDeviceHandle::VirtualDeviceHandle(std::shared_ptr<VirtualDevice> device, bool readWrite)
    : device_(std::move(device)), readWrite_(readWrite) {
  device_->HandleOpened(false);
}

VirtualDeviceHandle::~VirtualDeviceHandle() { device_->HandleClosed(false); }

bool VirtualDeviceHandle::Check(bool condition, int error) {
  lastNative_ = 0;
  if (!device_->Plugged()) {
    lastError_ = ENODEV;
    return false;
  }
  if (!condition) {
    lastError_ = error;
    return false;
  }
  lastError_ = 0;
  return true;
}

bool VirtualDeviceHandle::CopyString(const std::u16string& text, WideChar* buffer, std::uint32_t bufferBytes) {
  const std::size_t units = bufferBytes / sizeof(WideChar);
  if (buffer == nullptr || units == 0) {
    lastError_ = EINVAL;
    return false;
  }
  const std::size_t n = std::min(units, text.size());
  std::copy_n(text.data(), n, buffer);
  if (n < units) buffer[n] = 0;
  return true;
}

bool VirtualDeviceHandle::GetAttributes(HIDD_ATTRIBUTES& out) {
  lastOperation_ = "reading the attributes";
  const auto& desc = device_->Description();
  if (!Check(!desc.attributesFail, EIO)) return false;
  out.VendorID = desc.vendorId;
  out.ProductID = desc.productId;
  out.VersionNumber = desc.version;
  return true;
}

bool VirtualDeviceHandle::GetCaps(HIDP_CAPS& out) {
  lastOperation_ = "reading the report description";
  const auto& desc = device_->Description();
  if (!Check(!desc.capsFail, EIO)) return false;
  out.Usage = desc.usage;
  out.UsagePage = desc.usagePage;
  out.InputReportByteLength = desc.inputLength;
  out.OutputReportByteLength = desc.outputLength;
  out.FeatureReportByteLength = desc.featureLength;
  return true;
}

bool VirtualDeviceHandle::GetProductString(WideChar* buffer, std::uint32_t bufferBytes) {
  lastOperation_ = "reading the product string";
  const auto& desc = device_->Description();
  if (!Check(!desc.stringsFail && !desc.product.empty(), desc.stringsFail ? EIO : ENOENT)) return false;
  return CopyString(desc.product, buffer, bufferBytes);
}

bool VirtualDeviceHandle::GetSerialNumberString(WideChar* buffer, std::uint32_t bufferBytes) {
  lastOperation_ = "reading the serial number";
  const auto& desc = device_->Description();
  if (desc.serialAnswersLanguageList) {
    if (!Check(!desc.stringsFail, EIO)) return false;
    return CopyString(std::u16string(desc.languages.begin(), desc.languages.end()), buffer, bufferBytes);
  }
  if (!Check(!desc.stringsFail && !desc.serial.empty(), desc.stringsFail ? EIO : ENOENT)) return false;
  return CopyString(desc.serial, buffer, bufferBytes);
}

bool VirtualDeviceHandle::GetIndexedString(std::uint32_t index, WideChar* buffer, std::uint32_t bufferBytes) {
  lastOperation_ = "reading string " + std::to_string(index);
  const auto& desc = device_->Description();
  if (index == 0) {
    if (!Check(!desc.stringsFail && !desc.languageListFails, EIO)) return false;
    return CopyString(std::u16string(desc.languages.begin(), desc.languages.end()), buffer, bufferBytes);
  }
  auto it = desc.strings.find(index);
  if (!Check(!desc.stringsFail && it != desc.strings.end(), desc.stringsFail ? EIO : EINVAL)) return false;
  return CopyString(it->second, buffer, bufferBytes);
}

bool VirtualDeviceHandle::Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) {
  lastOperation_ = "writing a report";
  if (written != nullptr) *written = 0;
  if (!Check(readWrite_, device_->Description().refusedError)) return false;
  int error = 0;
  const bool ok = device_->Write(data, length, written, &error, &lastNative_);
  lastError_ = ok ? 0 : error;
  return ok;
}

std::string VirtualDeviceHandle::ErrorText() const {
  if (lastError_ == 0) return {};
  return lastOperation_ + " on " + device_->Path() + ": " + std::strerror(lastError_);
}

}  // namespace hid::platform::virt
