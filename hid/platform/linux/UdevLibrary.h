// libudev, loaded by name at run time, for device-change notifications.
// Resolution is all or nothing: Open gives a library whose every entry is
// bound, or nothing (and the library is unloaded again). The object also owns
// the udev context used for every call.
//
// libudev objects are not thread-safe: one UdevLibrary is used by one thread
// at a time (the backend serialises its users).
#pragma once

#include <libudev.h>  // declarations only; nothing is linked against libudev

#include <memory>
#include <string>

namespace hid::platform::linux_ {

class UdevLibrary {
 public:
  // Loads `name` (e.g. "libudev.so.1") with dlopen and binds every entry.
  // nullptr on failure; *error then says why.
  static std::unique_ptr<UdevLibrary> Open(const std::string& name, std::string* error);
  ~UdevLibrary();
  UdevLibrary(const UdevLibrary&) = delete;
  UdevLibrary& operator=(const UdevLibrary&) = delete;

  struct udev* context() const { return udev_; }

  // The bound entries, named as in libudev.
  decltype(&::udev_new) udev_new = nullptr;
  decltype(&::udev_unref) udev_unref = nullptr;
  decltype(&::udev_device_unref) udev_device_unref = nullptr;
  decltype(&::udev_device_get_syspath) udev_device_get_syspath = nullptr;
  decltype(&::udev_device_get_subsystem) udev_device_get_subsystem = nullptr;
  decltype(&::udev_device_get_action) udev_device_get_action = nullptr;
  decltype(&::udev_monitor_new_from_netlink) udev_monitor_new_from_netlink = nullptr;
  decltype(&::udev_monitor_filter_add_match_subsystem_devtype) udev_monitor_filter_add_match_subsystem_devtype =
      nullptr;
  decltype(&::udev_monitor_enable_receiving) udev_monitor_enable_receiving = nullptr;
  decltype(&::udev_monitor_set_receive_buffer_size) udev_monitor_set_receive_buffer_size = nullptr;
  decltype(&::udev_monitor_get_fd) udev_monitor_get_fd = nullptr;
  decltype(&::udev_monitor_receive_device) udev_monitor_receive_device = nullptr;
  decltype(&::udev_monitor_unref) udev_monitor_unref = nullptr;

 private:
  UdevLibrary() = default;
  bool BindAll(std::string* error);

  void* handle_ = nullptr;
  struct udev* udev_ = nullptr;
};

}  // namespace hid::platform::linux_
