#include "hid/platform/virtual/VirtualBus.h"

#include <algorithm>
#include <cerrno>

#include "hid/platform/virtual/VirtualDeviceHandle.h"
#include "hid/platform/virtual/VirtualMonitor.h"
#include "hid/platform/virtual/VirtualReadHandle.h"

namespace hid::platform::virt {

namespace {

// The interfaces present when the snapshot was taken.
class VirtualSnapshot : public Snapshot {
 public:
  explicit VirtualSnapshot(std::vector<InterfaceDetail> entries) : entries_(std::move(entries)) {}
  bool EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) override {
    if (index >= entries_.size()) return false;
    out = entries_[index];
    return true;
  }

 private:
  std::vector<InterfaceDetail> entries_;
};

void SetError(int* error, int value) {
  if (error != nullptr) *error = value;
}

}  // namespace

std::shared_ptr<VirtualDevice> VirtualBus::Plug(VirtualDeviceDescription desc) {
  std::shared_ptr<VirtualDevice> device;
  {
    std::lock_guard lock(mutex_);
    const DeviceInstanceId instance = desc.instance ? *desc.instance : nextInstance_++;
    std::string path = desc.path.empty() ? "/dev/virtual-hidraw" + std::to_string(nextPath_) : desc.path;
    ++nextPath_;
    device = std::make_shared<VirtualDevice>(std::move(desc), instance, std::move(path));
    devices_.push_back(device);
    byPath_[device->Path()] = device;
  }
  SignalMonitors();
  return device;
}

void VirtualBus::Unplug(const std::shared_ptr<VirtualDevice>& device) {
  if (!device) return;
  {
    std::lock_guard lock(mutex_);
    auto it = std::find(devices_.begin(), devices_.end(), device);
    if (it == devices_.end()) return;
    devices_.erase(it);
    auto byPath = byPath_.find(device->Path());
    if (byPath != byPath_.end() && byPath->second == device) byPath_.erase(byPath);
  }
  device->MarkUnplugged();
  SignalMonitors();
}

std::vector<std::shared_ptr<VirtualDevice>> VirtualBus::Devices() const {
  std::lock_guard lock(mutex_);
  return devices_;
}

void VirtualBus::SignalMonitors() {
  std::vector<std::shared_ptr<MonitorSignal>> live;
  {
    std::lock_guard lock(mutex_);
    auto end = std::remove_if(monitors_.begin(), monitors_.end(), [&live](const auto& weak) {
      auto signal = weak.lock();
      if (!signal) return true;
      live.push_back(std::move(signal));
      return false;
    });
    monitors_.erase(end, monitors_.end());
  }
  for (const auto& signal : live) signal->Signal();
}

bool VirtualBus::Load() {
  if (loadFails_.load()) return false;
  ++loadCount_;
  return true;
}

void VirtualBus::Release() {
  int count = loadCount_.load();
  while (count > 0 && !loadCount_.compare_exchange_weak(count, count - 1)) {
  }
}

std::unique_ptr<Snapshot> VirtualBus::GetPresentInterfaces() {
  if (!IsLoaded()) return nullptr;
  ++scans_;
  std::vector<InterfaceDetail> entries;
  std::lock_guard lock(mutex_);
  for (const auto& device : devices_) entries.push_back(InterfaceDetail{device->Path(), device->Instance()});
  return std::make_unique<VirtualSnapshot>(std::move(entries));
}

std::shared_ptr<VirtualDevice> VirtualBus::Find(const std::string& path) const {
  std::lock_guard lock(mutex_);
  auto it = byPath_.find(path);
  return it == byPath_.end() ? nullptr : it->second;
}

std::unique_ptr<DeviceHandle> VirtualBus::Open(const std::string& devicePath, bool readWrite, int* error,
                                               std::uint32_t* nativeError) {
  if (nativeError != nullptr) *nativeError = 0;
  auto device = Find(devicePath);
  if (!device) {
    SetError(error, ENOENT);
    return nullptr;
  }
  const Access access = device->Description().access;
  if (access == Access::Refused || (readWrite && access == Access::ReadWriteRefused)) {
    SetError(error, device->Description().refusedError);
    if (nativeError != nullptr) *nativeError = device->Description().refusedNative;
    return nullptr;
  }
  SetError(error, 0);
  return std::make_unique<VirtualDeviceHandle>(device, readWrite);
}

std::shared_ptr<ReadHandle> VirtualBus::OpenRead(const std::string& devicePath, int* error) {
  auto device = Find(devicePath);
  if (!device) {
    SetError(error, ENOENT);
    return nullptr;
  }
  if (device->Description().access != Access::ReadWrite) {
    SetError(error, device->Description().refusedError);
    return nullptr;
  }
  auto handle = std::make_shared<VirtualReadHandle>(device);
  device->AddReadHandle(handle);
  SetError(error, 0);
  return handle;
}

std::unique_ptr<Monitor> VirtualBus::CreateMonitor() {
  if (!IsLoaded() || monitorFails_.load()) return nullptr;
  MadeMonitor made;
  if (delivery_.load() == MonitorDelivery::Descriptor) made = MakeDescriptorMonitor();
  if (!made.monitor) made = MakeCallbackMonitor();
  {
    std::lock_guard lock(mutex_);
    monitors_.push_back(made.signal);
  }
  return std::move(made.monitor);
}

}  // namespace hid::platform::virt
