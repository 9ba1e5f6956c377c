// Device-change notifications on Windows: a hidden top-level window of the
// monitor's own receives WM_DEVICECHANGE, and each one that says the device
// nodes changed (DBT_DEVNODES_CHANGED, broadcast to every top-level window)
// or that an interface of the HID class it registers for arrived or left
// (DBT_DEVICEARRIVAL and DBT_DEVICEREMOVECOMPLETE) calls the notify callback
// once. Arrivals and removals of anything else (volumes, ports, other
// interface classes) are not news for it.
//
// It also receives the handle notifications of RemovalRequests: a request to
// remove a device (DBT_DEVICEQUERYREMOVE), or word that it is going
// (DBT_DEVICEREMOVEPENDING, DBT_DEVICEREMOVECOMPLETE) for a handle of ours
// closes that handle, and the request is granted.
//
// The window belongs to the thread that makes the monitor, and that thread's
// message loop (Qt's, or any other) dispatches its messages; hosts without a
// loop call Drain. Not a message-only window: those receive no broadcasts.
// Make, use and destroy it on one thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "hid/platform/HidPlatform.h"
#include "hid/platform/windows/RemovalRequests.h"
#include "hid/platform/windows/Win32.h"

namespace hid::platform::windows {

class DeviceChangeWindow final : public Monitor {
 public:
  // nullptr when no window can be made; *error then says why.
  static std::unique_ptr<DeviceChangeWindow> Create(const GUID& hidClass, std::string* error,
                                                    std::shared_ptr<RemovalRequests> removals = nullptr);
  ~DeviceChangeWindow() override;
  DeviceChangeWindow(const DeviceChangeWindow&) = delete;
  DeviceChangeWindow& operator=(const DeviceChangeWindow&) = delete;

  int fd() const override { return -1; }
  // Dispatches the messages waiting for the window; returns false (the
  // callback had them).
  bool Drain() override;
  void SetNotify(std::function<void()> notify) override { notify_ = std::move(notify); }

  HWND Window() const { return window_; }
  // Whether arrivals and removals of HID interfaces were registered for
  // (where that is refused, the broadcast DBT_DEVNODES_CHANGED still comes).
  bool Registered() const { return registration_ != nullptr; }

 private:
  DeviceChangeWindow() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Whether WM_DEVICECHANGE with these parameters calls the callback.
  bool Counts(WPARAM event, LPARAM data) const;
  // A handle notification for a handle of ours: closes it.
  void HandleGoing(WPARAM event, LPARAM data);
  void Notify();

  GUID hidClass_{};
  HWND window_ = nullptr;
  HDEVNOTIFY registration_ = nullptr;
  std::function<void()> notify_;
  std::shared_ptr<RemovalRequests> removals_;
};

}  // namespace hid::platform::windows
