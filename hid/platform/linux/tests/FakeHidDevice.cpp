#include "hid/platform/linux/tests/FakeHidDevice.h"

#include <umockdev.h>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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

FakeHidDevice::FakeHidDevice(FakeDeviceDescription description, std::string devnode, std::string syspath,
                             std::string hidSyspath, std::string rootDir)
    : description_(std::move(description)),
      devnode_(std::move(devnode)),
      syspath_(std::move(syspath)),
      hidSyspath_(std::move(hidSyspath)),
      rootDir_(std::move(rootDir)) {}

FakeHidDevice::~FakeHidDevice() {
  if (reader_ >= 0) ::close(reader_);
}

void FakeHidDevice::AttachNode(int master) {
  std::lock_guard lock(mutex_);
  master_ = master;
  // The testbed's node is a link to the PTY's device; opening it directly
  // (not through /dev) gives a reader that the preload library leaves alone.
  reader_ = ::open((rootDir_ + devnode_).c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

void FakeHidDevice::Wake() {
  if (master_ < 0) return;
  const std::uint8_t token = 0;
  while (::write(master_, &token, 1) < 0 && errno == EINTR) {
  }
}

void FakeHidDevice::SendInput(const Report& report) {
  std::lock_guard lock(mutex_);
  inputs_.push_back(report);
  Wake();
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

void FakeHidDevice::SetAccessRefused(bool refused) {
  ::chmod((rootDir_ + devnode_).c_str(), refused ? 0000 : 0666);
}

bool FakeHidDevice::plugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

void FakeHidDevice::MarkUnplugged() {
  std::lock_guard lock(mutex_);
  plugged_ = false;
  inputs_.clear();
  Wake();  // a reader waiting on the node wakes up and finds the device gone
}

int FakeHidDevice::HandleIoctl(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* device = static_cast<FakeHidDevice*>(self);
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  const auto& d = device->description_;
  {
    std::lock_guard lock(device->mutex_);
    ++device->ioctls_[request];
    if (!device->plugged_) {
      umockdev_ioctl_client_complete(client, -1, ENODEV);
      return TRUE;
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
      return TRUE;
    }
    __u32 wanted = 0;
    std::memcpy(&wanted, target->data, sizeof wanted);
    umockdev_ioctl_data_unref(target);
    if (wanted > HID_MAX_DESCRIPTOR_SIZE) {
      umockdev_ioctl_client_complete(client, -1, EINVAL);
      return TRUE;
    }
    const std::size_t n = std::min<std::size_t>(wanted, d.reportDescriptor.size());
    return Answer(client, sizeof(hidraw_report_descriptor), sizeof wanted, d.reportDescriptor.data(), n);
  }
  return FALSE;  // anything else: what the PTY says (ENOTTY)
}

int FakeHidDevice::HandleRead(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* device = static_cast<FakeHidDevice*>(self);
  std::unique_lock lock(device->mutex_);
  if (!device->plugged_) {
    umockdev_ioctl_client_complete(client, -1, ENODEV);
    return TRUE;
  }
  std::uint8_t token = 0;
  if (device->reader_ < 0 || ::read(device->reader_, &token, 1) != 1 || device->inputs_.empty()) {
    umockdev_ioctl_client_complete(client, -1, EAGAIN);
    return TRUE;
  }
  Report report = std::move(device->inputs_.front());
  device->inputs_.pop_front();
  lock.unlock();
  UMockdevIoctlData* buffer = umockdev_ioctl_client_get_arg(client);
  // Like hidraw: a buffer shorter than the report gets its first bytes.
  const std::size_t n = std::min<std::size_t>(report.size(), static_cast<std::size_t>(buffer->data_len));
  umockdev_ioctl_data_update(buffer, 0, report.data(), static_cast<gint>(n));
  umockdev_ioctl_client_complete(client, static_cast<glong>(n), 0);
  return TRUE;
}

int FakeHidDevice::HandleWrite(_UMockdevIoctlBase*, _UMockdevIoctlClient* client, void* self) {
  auto* device = static_cast<FakeHidDevice*>(self);
  UMockdevIoctlData* data = umockdev_ioctl_client_get_arg(client);
  Report report(data->data, data->data + data->data_len);
  {
    std::lock_guard lock(device->mutex_);
    if (!device->plugged_) {
      umockdev_ioctl_client_complete(client, -1, ENODEV);
      return TRUE;
    }
    device->written_.push_back(report);
  }
  device->written_cv_.notify_all();
  umockdev_ioctl_client_complete(client, static_cast<glong>(report.size()), 0);
  std::lock_guard callback(device->callbackMutex_);
  if (device->onWrite_) device->onWrite_(report);
  return TRUE;
}

}  // namespace hid::platform::linux_::fakes
