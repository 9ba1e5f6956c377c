// Owning pointer to a udev_device of a UdevLibrary.
#pragma once

#include <utility>

#include "hid/platform/linux/UdevLibrary.h"

namespace hid::platform::linux_ {

class UdevDevicePtr {
 public:
  UdevDevicePtr() = default;
  UdevDevicePtr(const UdevLibrary& lib, struct udev_device* device) : lib_(&lib), device_(device) {}
  ~UdevDevicePtr() { reset(); }
  UdevDevicePtr(UdevDevicePtr&& other) noexcept
      : lib_(other.lib_), device_(std::exchange(other.device_, nullptr)) {}
  UdevDevicePtr& operator=(UdevDevicePtr&& other) noexcept {
    if (this != &other) {
      reset();
      lib_ = other.lib_;
      device_ = std::exchange(other.device_, nullptr);
    }
    return *this;
  }
  UdevDevicePtr(const UdevDevicePtr&) = delete;
  UdevDevicePtr& operator=(const UdevDevicePtr&) = delete;

  struct udev_device* get() const { return device_; }
  explicit operator bool() const { return device_ != nullptr; }
  void reset() {
    if (device_ != nullptr) lib_->udev_device_unref(device_);
    device_ = nullptr;
  }

 private:
  const UdevLibrary* lib_ = nullptr;
  struct udev_device* device_ = nullptr;
};

}  // namespace hid::platform::linux_
