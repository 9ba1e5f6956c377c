#include "hid/platform/linux/LinuxHidBackend.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "hid/platform/linux/HidrawDeviceHandle.h"
#include "hid/platform/linux/HidrawNodeInfo.h"
#include "hid/platform/linux/HidrawPath.h"
#include "hid/platform/linux/HidrawReadHandle.h"
#include "hid/platform/linux/HidrawSnapshot.h"
#include "hid/platform/linux/UdevMonitor.h"

namespace hid::platform::linux_ {

namespace {
void SetError(int* error, int value) {
  if (error != nullptr) *error = value;
}
}  // namespace

LinuxHidBackend::LinuxHidBackend(std::string libraryName) : libraryName_(std::move(libraryName)) {}

LinuxHidBackend::~LinuxHidBackend() = default;

bool LinuxHidBackend::Load() {
  std::lock_guard lock(mutex_);
  if (loadCount_ > 0) {
    ++loadCount_;
    return true;
  }
  std::string why;
  auto lib = UdevLibrary::Open(libraryName_, &why);
  if (!lib) {
    loadError_ = why;
    return false;  // count stays 0, nothing held
  }
  lib_ = std::move(lib);
  loadError_.clear();
  loadCount_ = 1;
  return true;
}

void LinuxHidBackend::Release() {
  std::lock_guard lock(mutex_);
  if (loadCount_ > 0) --loadCount_;
  if (loadCount_ == 0) lib_.reset();
}

bool LinuxHidBackend::IsLoaded() const {
  std::lock_guard lock(mutex_);
  return lib_ != nullptr;
}

std::string LinuxHidBackend::LoadErrorText() const {
  std::lock_guard lock(mutex_);
  return loadError_;
}

std::unique_ptr<Snapshot> LinuxHidBackend::GetPresentInterfaces() {
  std::lock_guard lock(mutex_);
  if (!lib_) return nullptr;
  return HidrawSnapshot::Take(*lib_, departed_.get());
}

std::unique_ptr<DeviceHandle> LinuxHidBackend::Open(const std::string& devicePath, bool readWrite, int* error) {
  std::lock_guard lock(mutex_);
  if (!lib_) {
    SetError(error, ELIBACC);
    return nullptr;
  }
  const HidrawPath path = ParseHidrawPath(devicePath);
  UdevDevicePtr device = FindHidrawDevice(*lib_, path.node);
  if (!device) {
    SetError(error, ENOENT);
    return nullptr;
  }
  HidrawNodeInfo info = DescribeHidrawDevice(*lib_, device.get());
  info.devnode = path.node;
  int fd = -1;
  if (readWrite) {
    fd = ::open(path.node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      SetError(error, errno);
      return nullptr;
    }
  }
  SetError(error, 0);
  return std::make_unique<HidrawDeviceHandle>(std::move(info), path.collection, fd);
}

std::shared_ptr<ReadHandle> LinuxHidBackend::OpenRead(const std::string& devicePath, int* error) {
  return HidrawReadHandle::Open(devicePath, error);
}

std::unique_ptr<Monitor> LinuxHidBackend::CreateMonitor() { return CreateMonitor(UdevMonitor::DefaultSource()); }

std::unique_ptr<Monitor> LinuxHidBackend::CreateMonitor(const std::string& source) {
  std::lock_guard lock(mutex_);
  if (!lib_) return nullptr;
  return UdevMonitor::Create(lib_, source, departed_);
}

}  // namespace hid::platform::linux_
