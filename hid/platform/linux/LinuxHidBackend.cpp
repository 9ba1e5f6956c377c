#include "hid/platform/linux/LinuxHidBackend.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "hid/platform/linux/HidrawDeviceHandle.h"
#include "hid/platform/linux/HidrawNodeInfo.h"
#include "hid/platform/linux/HidrawNodeLookup.h"
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
  if (!IsLoaded()) return nullptr;
  return HidrawSnapshot::Take(departed_.get(), &found_);
}

std::unique_ptr<DeviceHandle> LinuxHidBackend::Open(const std::string& devicePath, bool readWrite, int* error,
                                                    std::uint32_t* nativeError) {
  if (nativeError != nullptr) *nativeError = 0;  // errno is the platform's own code
  if (!IsLoaded()) {
    SetError(error, ELIBACC);
    return nullptr;
  }
  const HidrawPath path = ParseHidrawPath(devicePath);
  int fd = -1;
  if (readWrite) {
    fd = ::open(path.node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      SetError(error, errno);
      return nullptr;
    }
  }
  auto refuse = [&](int why) -> std::unique_ptr<DeviceHandle> {
    if (fd >= 0) ::close(fd);
    SetError(error, why);
    return nullptr;
  };
  const auto syspath = fd >= 0 ? HidrawSyspathOfFd(fd, path.node) : HidrawSyspathOfNode(path.node);
  if (!syspath) return refuse(ENOENT);
  std::shared_ptr<const HidrawNodeInfo> info = found_.Find(path.node);
  if (info && info->syspath != *syspath) return refuse(ENODEV);  // another device has the node now
  if (!info) info = std::make_shared<const HidrawNodeInfo>(DescribeHidrawNode(*syspath));
  SetError(error, 0);
  return std::make_unique<HidrawDeviceHandle>(path.node, std::move(info), path.collection, fd);
}

std::shared_ptr<ReadHandle> LinuxHidBackend::OpenRead(const std::string& devicePath, int* error) {
  const auto found = found_.Find(ParseHidrawPath(devicePath).node);
  return HidrawReadHandle::Open(devicePath, found.get(), error);
}

std::unique_ptr<Monitor> LinuxHidBackend::CreateMonitor() { return CreateMonitor(UdevMonitor::DefaultSource()); }

std::unique_ptr<Monitor> LinuxHidBackend::CreateMonitor(const std::string& source) {
  std::lock_guard lock(mutex_);
  if (!lib_) return nullptr;
  return UdevMonitor::Create(lib_, source, departed_);
}

}  // namespace hid::platform::linux_
