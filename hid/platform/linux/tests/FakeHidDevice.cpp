#include "hid/platform/linux/tests/FakeHidDevice.h"

#include <umockdev.h>

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "hid/platform/linux/tests/FakeHidNode.h"

namespace hid::platform::linux_::fakes {

namespace {

constexpr std::uint32_t kBusUsb = 0x03;
constexpr std::uint32_t kBusVirtual = 0x06;

// Copies `bytes` into the client's memory behind the ioctl argument pointer.
bool Answer(UMockdevIoctlClient* client, std::size_t size, std::size_t offset, const void* bytes, std::size_t length) {
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  GError* error = nullptr;
  UMockdevIoctlData* target = umockdev_ioctl_data_resolve(arg, 0, size, &error);
  if (target == nullptr) {
    g_clear_error(&error);
    umockdev_ioctl_client_complete(client, -1, EFAULT);
    return true;
  }
  umockdev_ioctl_data_update(target, offset, static_cast<guint8*>(const_cast<void*>(bytes)),
                             static_cast<gint>(length));
  umockdev_ioctl_data_unref(target);
  umockdev_ioctl_client_complete(client, 0, 0);
  return true;
}

}  // namespace

FakeHidDevice::FakeHidDevice(FakeDeviceDescription description, FakeHidNode& node, std::string syspath,
                             std::string hidSyspath)
    : description_(std::move(description)),
      node_(node),
      syspath_(std::move(syspath)),
      hidSyspath_(std::move(hidSyspath)) {}

const std::string& FakeHidDevice::devnode() const { return node_.devnode(); }

void FakeHidDevice::SendInput(const Report& report) {
  if (plugged()) node_.Deliver(*this, report);
}

std::vector<FakeHidDevice::Report> FakeHidDevice::Written() const {
  std::lock_guard lock(mutex_);
  return written_;
}

bool FakeHidDevice::WaitForWritten(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return written_cv_.wait_for(lock, timeout, [&] { return written_.size() >= count; });
}

void FakeHidDevice::OnWrite(std::function<void(const Report&)> handler) {
  std::lock_guard lock(callbackMutex_);  // waits for a handler call in progress
  onWrite_ = std::move(handler);
}

std::size_t FakeHidDevice::IoctlCalls(unsigned long request) const {
  std::lock_guard lock(mutex_);
  const auto it = ioctls_.find(request);
  return it == ioctls_.end() ? 0 : it->second;
}

void FakeHidDevice::SetAccessRefused(bool refused) { node_.SetAccessRefused(refused); }

bool FakeHidDevice::plugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

void FakeHidDevice::MarkUnplugged() {
  {
    std::lock_guard lock(mutex_);
    plugged_ = false;
  }
  node_.DeviceGone(*this);
}

bool FakeHidDevice::AnswerIoctl(_UMockdevIoctlClient* client) {
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  const auto& d = description_;
  {
    std::lock_guard lock(mutex_);
    ++ioctls_[request];
    if (!plugged_) {
      umockdev_ioctl_client_complete(client, -1, ENODEV);
      return true;
    }
  }
  if (request == HIDIOCGRAWINFO) {
    hidraw_devinfo info{};
    info.bustype = d.usbParent ? kBusUsb : kBusVirtual;
    info.vendor = static_cast<__s16>(d.vendorId);
    info.product = static_cast<__s16>(d.productId);
    return Answer(client, sizeof info, 0, &info, sizeof info);
  }
  if (request == HIDIOCGRDESCSIZE) {
    const int size = static_cast<int>(d.reportDescriptor.size());
    return Answer(client, sizeof size, 0, &size, sizeof size);
  }
  if (request == HIDIOCGRDESC) {
    // The caller says in `size` how many bytes it wants.
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    GError* error = nullptr;
    UMockdevIoctlData* target = umockdev_ioctl_data_resolve(arg, 0, sizeof(hidraw_report_descriptor), &error);
    if (target == nullptr) {
      g_clear_error(&error);
      umockdev_ioctl_client_complete(client, -1, EFAULT);
      return true;
    }
    __u32 wanted = 0;
    std::memcpy(&wanted, target->data, sizeof wanted);
    umockdev_ioctl_data_unref(target);
    // hidraw refuses requests of the whole buffer, so a descriptor of
    // HID_MAX_DESCRIPTOR_SIZE bytes cannot be had from the node.
    if (wanted > HID_MAX_DESCRIPTOR_SIZE - 1) {
      umockdev_ioctl_client_complete(client, -1, EINVAL);
      return true;
    }
    const std::size_t n = std::min<std::size_t>(wanted, d.reportDescriptor.size());
    return Answer(client, sizeof(hidraw_report_descriptor), sizeof wanted, d.reportDescriptor.data(), n);
  }
  return false;  // anything else: what the PTY says (ENOTTY)
}

void FakeHidDevice::TakeWrite(_UMockdevIoctlClient* client, const Report& report) {
  {
    std::lock_guard lock(mutex_);
    if (!plugged_) {
      umockdev_ioctl_client_complete(client, -1, ENODEV);
      return;
    }
    written_.push_back(report);
  }
  written_cv_.notify_all();
  umockdev_ioctl_client_complete(client, static_cast<glong>(report.size()), 0);
  std::lock_guard callback(callbackMutex_);
  if (onWrite_) onWrite_(report);
}

}  // namespace hid::platform::linux_::fakes
