#include "hid/platform/virtual/VirtualDevice.h"

#include <algorithm>
#include <chrono>

#include "hid/platform/virtual/VirtualReadHandle.h"

namespace hid::platform::virt {

VirtualDevice::VirtualDevice(VirtualDeviceDescription desc, DeviceInstanceId instance, std::string path)
    : desc_(std::move(desc)), instance_(instance), path_(std::move(path)) {
  hook_ = desc_.onWrite;
  failure_ = desc_.writeFailure;
}

std::vector<std::shared_ptr<VirtualReadHandle>> VirtualDevice::LiveReadHandles() const {
  std::lock_guard lock(mutex_);
  std::vector<std::shared_ptr<VirtualReadHandle>> live;
  auto end = std::remove_if(readHandles_.begin(), readHandles_.end(), [&live](const auto& weak) {
    auto handle = weak.lock();
    if (!handle) return true;
    live.push_back(std::move(handle));
    return false;
  });
  readHandles_.erase(end, readHandles_.end());
  return live;
}

std::size_t VirtualDevice::InjectInput(const std::uint8_t* data, std::size_t length) {
  if (!Plugged()) return 0;
  std::size_t reached = 0;
  for (const auto& handle : LiveReadHandles()) {
    if (handle->Push(std::vector<std::uint8_t>(data, data + length))) ++reached;
  }
  return reached;
}

std::size_t VirtualDevice::InjectInput(const std::vector<std::uint8_t>& report) {
  return InjectInput(report.data(), report.size());
}

void VirtualDevice::SetWriteHook(WriteHook hook) {
  std::lock_guard lock(mutex_);
  hook_ = std::move(hook);
}

void VirtualDevice::SetWriteFailure(const WriteFailure& failure) {
  std::lock_guard lock(mutex_);
  failure_ = failure;
  writesSinceFailureSet_ = 0;
}

std::vector<std::vector<std::uint8_t>> VirtualDevice::Writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

std::size_t VirtualDevice::WriteCount() const {
  std::lock_guard lock(mutex_);
  return writes_.size();
}

std::size_t VirtualDevice::WritesHeld() const {
  std::lock_guard lock(mutex_);
  return held_;
}

std::size_t VirtualDevice::OutstandingReads() const {
  std::size_t n = 0;
  for (const auto& handle : LiveReadHandles()) {
    if (handle->ReadOutstanding()) ++n;
  }
  return n;
}

bool VirtualDevice::Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written, int* error,
                          std::uint32_t* native) {
  if (written != nullptr) *written = 0;
  if (native != nullptr) *native = 0;
  WriteHook hook;
  {
    std::unique_lock lock(mutex_);
    if (!Plugged()) {
      *error = ENODEV;
      return false;
    }
    ++writesSinceFailureSet_;
    if (failure_.all || (failure_.nth != 0 && writesSinceFailureSet_ == failure_.nth)) {
      if (failure_.neverTaken) {
        ++held_;
        const bool gone = unplugged_.wait_for(lock, std::chrono::milliseconds(kWriteTimeLimitMs),
                                              [this] { return !Plugged(); });
        --held_;
        *error = gone ? ENODEV : ETIMEDOUT;
        return false;
      }
      *error = failure_.error;
      if (native != nullptr) *native = failure_.native;
      return false;
    }
    writes_.emplace_back(data, data + length);
    hook = hook_;
  }
  if (written != nullptr) *written = length;
  if (hook) hook(data, length);
  return true;
}

void VirtualDevice::AddReadHandle(const std::shared_ptr<VirtualReadHandle>& handle) {
  std::lock_guard lock(mutex_);
  readHandles_.push_back(handle);
}

void VirtualDevice::HandleOpened(bool read) { ++(read ? openRead_ : openMain_); }

void VirtualDevice::HandleClosed(bool read) { --(read ? openRead_ : openMain_); }

void VirtualDevice::Reset() {
  for (const auto& handle : LiveReadHandles()) handle->DeviceGone();
}

void VirtualDevice::MarkUnplugged() {
  {
    std::lock_guard lock(mutex_);
    plugged_.store(false);
  }
  unplugged_.notify_all();
  for (const auto& handle : LiveReadHandles()) handle->DeviceGone();
}

}  // namespace hid::platform::virt
