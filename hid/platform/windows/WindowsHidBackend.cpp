#include "hid/platform/windows/WindowsHidBackend.h"

#include <cerrno>

#include "hid/platform/windows/DeviceChangeWindow.h"
#include "hid/platform/windows/HidDeviceHandle.h"
#include "hid/platform/windows/HidLibraries.h"
#include "hid/platform/windows/OverlappedReadHandle.h"
#include "hid/platform/windows/RemovalRequests.h"
#include "hid/platform/windows/SetupDiSnapshot.h"

namespace hid::platform::windows {

WindowsHidBackend::WindowsHidBackend(std::string setupApiName, std::string hidName)
    : setupApiName_(std::move(setupApiName)),
      hidName_(std::move(hidName)),
      removals_(std::make_shared<RemovalRequests>()) {}

WindowsHidBackend::~WindowsHidBackend() = default;

bool WindowsHidBackend::Load() {
  std::lock_guard lock(mutex_);
  if (loadCount_ > 0) {
    ++loadCount_;
    return true;
  }
  std::string why;
  auto libs = HidLibraries::Load(setupApiName_, hidName_, &why);
  if (!libs) {
    errorText_ = why;
    return false;  // count stays 0, nothing held
  }
  libs_ = std::move(libs);
  errorText_.clear();
  loadCount_ = 1;
  return true;
}

void WindowsHidBackend::Release() {
  std::lock_guard lock(mutex_);
  if (loadCount_ > 0) --loadCount_;
  if (loadCount_ == 0) libs_.reset();
}

bool WindowsHidBackend::IsLoaded() const {
  std::lock_guard lock(mutex_);
  return libs_ != nullptr;
}

std::string WindowsHidBackend::ErrorText() const {
  std::lock_guard lock(mutex_);
  return errorText_;
}

std::unique_ptr<Snapshot> WindowsHidBackend::GetPresentInterfaces() {
  std::lock_guard lock(mutex_);
  if (!libs_) return nullptr;
  return SetupDiSnapshot::Take(*libs_);
}

std::unique_ptr<DeviceHandle> WindowsHidBackend::Open(const std::string& devicePath, bool readWrite, int* error,
                                                      std::uint32_t* nativeError) {
  std::lock_guard lock(mutex_);
  if (nativeError != nullptr) *nativeError = 0;
  if (!libs_) {
    if (error != nullptr) *error = ENXIO;
    errorText_ = "opening " + devicePath + ": the HID libraries are not loaded";
    return nullptr;
  }
  std::string why;
  auto handle = HidDeviceHandle::Open(libs_, devicePath, readWrite, error, &why, nativeError, removals_);
  if (!handle) errorText_ = why;
  return handle;
}

std::shared_ptr<ReadHandle> WindowsHidBackend::OpenRead(const std::string& devicePath, int* error) {
  std::string why;
  auto handle = OverlappedReadHandle::Open(devicePath, error, &why, removals_);
  if (!handle) {
    std::lock_guard lock(mutex_);
    errorText_ = why;
  }
  return handle;
}

std::unique_ptr<Monitor> WindowsHidBackend::CreateMonitor() {
  std::lock_guard lock(mutex_);
  if (!libs_) return nullptr;
  std::string why;
  auto monitor = DeviceChangeWindow::Create(libs_->HidClass(), &why, removals_);
  if (!monitor) errorText_ = why;
  return monitor;
}

}  // namespace hid::platform::windows
