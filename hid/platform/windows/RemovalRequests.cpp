#include "hid/platform/windows/RemovalRequests.h"

#include <dbt.h>

namespace hid::platform::windows {

RemovalRequests::~RemovalRequests() { SetWindow(nullptr); }

void RemovalRequests::RegisterLocked(Entry& entry) {
  if (window_ == nullptr || entry.registration != nullptr) return;
  DEV_BROADCAST_HANDLE filter{};
  filter.dbch_size = sizeof filter;
  filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
  filter.dbch_handle = entry.file;
  // Where the system refuses, the handle simply stays unwatched.
  entry.registration = RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void RemovalRequests::UnregisterLocked(Entry& entry) {
  if (entry.registration == nullptr) return;
  UnregisterDeviceNotification(entry.registration);
  entry.registration = nullptr;
}

void RemovalRequests::SetWindow(HWND window) {
  std::lock_guard lock(mutex_);
  for (auto& [token, entry] : entries_) UnregisterLocked(entry);
  window_ = window;
  for (auto& [token, entry] : entries_) RegisterLocked(entry);
}

std::uint64_t RemovalRequests::Watch(HANDLE file, std::function<void()> close) {
  std::lock_guard lock(mutex_);
  const std::uint64_t token = next_++;
  Entry& entry = entries_[token];
  entry.file = file;
  entry.close = std::move(close);
  RegisterLocked(entry);
  return token;
}

void RemovalRequests::Unwatch(std::uint64_t token) {
  std::lock_guard lock(mutex_);
  const auto it = entries_.find(token);
  if (it == entries_.end()) return;
  UnregisterLocked(it->second);
  entries_.erase(it);
}

bool RemovalRequests::Removing(HANDLE file) {
  std::lock_guard lock(mutex_);
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->second.file != file) continue;
    // Unregistered before the handle closes, as the system asks.
    UnregisterLocked(it->second);
    const std::function<void()> close = std::move(it->second.close);
    entries_.erase(it);
    if (close) close();
    return true;
  }
  return false;
}

}  // namespace hid::platform::windows
