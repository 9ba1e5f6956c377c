// Handles held open on HID devices, registered for handle notifications
// (DBT_DEVTYP_HANDLE) on the device-change window, so that they do not block
// a removal: when the system asks to remove a device (Device Manager's
// "remove device", an eject) or says it is going, each such handle is closed.
//
// The binding's read and read/write handles watch themselves while they are
// open; the device-change window, while it exists, receives the
// notifications and hands them to Removing. Thread-safe: handles open and
// close on any thread; closers run on the window's thread, under the lock
// that Unwatch takes, so a closer never runs for a handle already destroyed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include "hid/platform/windows/Win32.h"

namespace hid::platform::windows {

class RemovalRequests {
 public:
  RemovalRequests() = default;
  ~RemovalRequests();
  RemovalRequests(const RemovalRequests&) = delete;
  RemovalRequests& operator=(const RemovalRequests&) = delete;

  // The window that receives the notifications, or nullptr when it goes:
  // every watched handle is registered with it, or unregistered.
  void SetWindow(HWND window);

  // Watches `file` until Unwatch(token); `close` closes it for good (it must
  // not call Unwatch). Returns the token.
  std::uint64_t Watch(HANDLE file, std::function<void()> close);
  void Unwatch(std::uint64_t token);

  // A removal request or removal of the device `file` is open on: the handle's
  // registration ends and it is closed. False when it is none of ours.
  bool Removing(HANDLE file);

 private:
  struct Entry {
    HANDLE file;
    std::function<void()> close;
    HDEVNOTIFY registration = nullptr;
  };
  void RegisterLocked(Entry& entry);
  static void UnregisterLocked(Entry& entry);

  std::mutex mutex_;
  HWND window_ = nullptr;
  std::uint64_t next_ = 1;
  std::map<std::uint64_t, Entry> entries_;
};

}  // namespace hid::platform::windows
