#include "hid/platform/linux/HidrawDeviceHandle.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <unistd.h>

#include "hid/platform/linux/ReportDescriptorSource.h"
#include "hid/platform/linux/Utf16Text.h"

namespace hid::platform::linux_ {

namespace {
constexpr std::uint16_t kLangIdEnglishUs = 0x0409;
}  // namespace

HidrawDeviceHandle::HidrawDeviceHandle(std::string node, std::shared_ptr<const HidrawNodeInfo> info,
                                       std::size_t collection, int fd)
    : node_(std::move(node)), info_(std::move(info)), collection_(collection), fd_(fd), descriptor_(info_->descriptor) {}

HidrawDeviceHandle::~HidrawDeviceHandle() {
  if (fd_ >= 0) ::close(fd_);
}

bool HidrawDeviceHandle::Fail(int error, const std::string& what) {
  lastError_ = error;
  errorText_ = node_ + ": " + what;
  if (error != 0) errorText_ += std::string(" (") + std::strerror(error) + ")";
  return false;
}

bool HidrawDeviceHandle::GetAttributes(HIDD_ATTRIBUTES& out) {
  // HID_ID holds what the node's raw info ioctl would say.
  if (!info_->vendorId || !info_->productId) return Fail(ENODATA, "vendor and product ids unknown");
  out.VendorID = *info_->vendorId;
  out.ProductID = *info_->productId;
  out.VersionNumber = info_->version.value_or(0);
  return true;
}

const descriptor::ReportDescriptor* HidrawDeviceHandle::Descriptor() {
  if (!descriptor_) descriptor_ = LoadReportDescriptor(info_->hidSyspath, fd_);
  if (!descriptor_) Fail(ENODATA, "report descriptor cannot be read");
  return descriptor_.get();
}

bool HidrawDeviceHandle::GetCaps(HIDP_CAPS& out) {
  const auto* d = Descriptor();
  if (d == nullptr) return false;
  if (!d->ok()) return Fail(EINVAL, "report descriptor: " + d->error);
  if (collection_ >= d->collections.size()) {
    return Fail(ENOENT, "no top-level collection " + std::to_string(collection_ + 1));
  }
  const auto& c = d->collections[collection_];
  out.Usage = c.usage;
  out.UsagePage = c.usagePage;
  out.InputReportByteLength = c.inputReportByteLength;
  out.OutputReportByteLength = c.outputReportByteLength;
  out.FeatureReportByteLength = c.featureReportByteLength;
  return true;
}

bool HidrawDeviceHandle::CopyString(const std::optional<std::string>& text, const char* what, WideChar* buffer,
                                    std::uint32_t bufferBytes) {
  if (!text) return Fail(ENODATA, std::string("no ") + what + " string");
  if (!CopyToWideBuffer(Utf8ToUtf16(*text), buffer, bufferBytes)) return Fail(EINVAL, "string buffer too small");
  return true;
}

bool HidrawDeviceHandle::GetProductString(WideChar* buffer, std::uint32_t bufferBytes) {
  return CopyString(info_->product, "product", buffer, bufferBytes);
}

bool HidrawDeviceHandle::GetSerialNumberString(WideChar* buffer, std::uint32_t bufferBytes) {
  return CopyString(info_->serial, "serial number", buffer, bufferBytes);
}

bool HidrawDeviceHandle::GetIndexedString(std::uint32_t index, WideChar* buffer, std::uint32_t bufferBytes) {
  if (index != 0) return Fail(EINVAL, "string " + std::to_string(index) + " is not available");
  // A device with strings has a language list; sysfs gives them in English.
  if (!info_->product && !info_->serial) return Fail(ENODATA, "no strings, no language list");
  const std::u16string languages(1, static_cast<char16_t>(kLangIdEnglishUs));
  if (!CopyToWideBuffer(languages, buffer, bufferBytes)) return Fail(EINVAL, "string buffer too small");
  return true;
}

bool HidrawDeviceHandle::Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) {
  if (written != nullptr) *written = 0;
  if (fd_ < 0) return Fail(EACCES, "write refused: opened without access rights");
  if (data == nullptr || length == 0) return Fail(EINVAL, "empty report");
  // The node is non-blocking; a report the device does not take at once is
  // waited for until the deadline, over however many polls.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteTimeLimitMs);
  for (;;) {
    const ssize_t n = ::write(fd_, data, length);
    if (n >= 0) {
      if (static_cast<std::uint32_t>(n) != length) {
        return Fail(EIO, "short write of " + std::to_string(n) + " of " + std::to_string(length) + " bytes");
      }
      if (written != nullptr) *written = length;
      return true;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return Fail(errno, "write failed");
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return Fail(ETIMEDOUT, "device did not take the report");
    pollfd ready{fd_, POLLOUT, 0};
    const int r = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (r < 0 && errno != EINTR) return Fail(errno, "write failed");
    if (r > 0 && (ready.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 && (ready.revents & POLLOUT) == 0) {
      return Fail(ENODEV, "device gone");
    }
  }
}

}  // namespace hid::platform::linux_
