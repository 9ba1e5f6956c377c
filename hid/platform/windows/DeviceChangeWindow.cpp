#include "hid/platform/windows/DeviceChangeWindow.h"

#include <dbt.h>

#include <cstddef>
#include <mutex>

#include "hid/platform/windows/Win32Error.h"

namespace hid::platform::windows {

namespace {

constexpr wchar_t kWindowClass[] = L"VarnokHidDeviceChange";

// The module this code lives in (the program, or a DLL that carries it).
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

std::unique_ptr<DeviceChangeWindow> DeviceChangeWindow::Create(const GUID& hidClass, std::string* error,
                                                               std::shared_ptr<RemovalRequests> removals) {
  static std::once_flag registered;
  static DWORD registerError = ERROR_SUCCESS;
  std::call_once(registered, [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &DeviceChangeWindow::WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      registerError = GetLastError();
    }
  });
  if (registerError != ERROR_SUCCESS) {
    if (error != nullptr) *error = Win32ErrorText("registering the device-change window class", registerError);
    return nullptr;
  }
  std::unique_ptr<DeviceChangeWindow> monitor(new DeviceChangeWindow());
  monitor->hidClass_ = hidClass;
  // Top-level and never shown; `this` reaches the window procedure with WM_NCCREATE.
  monitor->window_ = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, ThisModule(),
                                     monitor.get());
  if (monitor->window_ == nullptr) {
    if (error != nullptr) *error = Win32ErrorText("making the device-change window", GetLastError());
    return nullptr;
  }
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = hidClass;
  monitor->registration_ = RegisterDeviceNotificationW(monitor->window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (removals) {
    monitor->removals_ = std::move(removals);
    monitor->removals_->SetWindow(monitor->window_);
  }
  return monitor;
}

DeviceChangeWindow::~DeviceChangeWindow() {
  if (removals_) removals_->SetWindow(nullptr);
  if (registration_ != nullptr) UnregisterDeviceNotification(registration_);
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool DeviceChangeWindow::Drain() {
  MSG message;
  while (PeekMessageW(&message, window_, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  return false;
}

void DeviceChangeWindow::Notify() {
  if (!notify_) return;
  // Nothing may unwind through the system's window dispatch.
  try {
    notify_();
  } catch (...) {
  }
}

bool DeviceChangeWindow::Counts(WPARAM event, LPARAM data) const {
  if (event == DBT_DEVNODES_CHANGED) return true;
  if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
  // Every top-level window hears of volumes and ports too; only HID
  // interfaces matter here.
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
      header->dbch_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) {
    return false;
  }
  return IsEqualGUID(reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header)->dbcc_classguid, hidClass_);
}

void DeviceChangeWindow::HandleGoing(WPARAM event, LPARAM data) {
  if (event != DBT_DEVICEQUERYREMOVE && event != DBT_DEVICEREMOVEPENDING && event != DBT_DEVICEREMOVECOMPLETE) return;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (!removals_ || header == nullptr || header->dbch_devicetype != DBT_DEVTYP_HANDLE ||
      header->dbch_size < offsetof(DEV_BROADCAST_HANDLE, dbch_hdevnotify)) {
    return;
  }
  removals_->Removing(reinterpret_cast<const DEV_BROADCAST_HANDLE*>(header)->dbch_handle);
}

LRESULT CALLBACK DeviceChangeWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<DeviceChangeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_DEVICECHANGE:
      if (self != nullptr) {
        self->HandleGoing(wParam, lParam);
        if (self->Counts(wParam, lParam)) self->Notify();
      }
      return TRUE;  // a removal request is granted
    case WM_QUERYENDSESSION:
      return TRUE;  // logging off or shutting down may go ahead
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace hid::platform::windows
