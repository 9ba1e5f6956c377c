#include "hid/platform/linux/UdevLibrary.h"

#include <dlfcn.h>

namespace hid::platform::linux_ {

namespace {

template <typename F>
bool Bind(void* handle, const char* name, F& slot, std::string* error) {
  void* entry = dlsym(handle, name);
  if (entry == nullptr) {
    if (error) *error = std::string("entry ") + name + " missing";
    return false;
  }
  slot = reinterpret_cast<F>(entry);
  return true;
}

}  // namespace

std::unique_ptr<UdevLibrary> UdevLibrary::Open(const std::string& name, std::string* error) {
  std::unique_ptr<UdevLibrary> lib(new UdevLibrary());
  lib->handle_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (lib->handle_ == nullptr) {
    if (error) {
      const char* why = dlerror();
      *error = "cannot load " + name + ": " + (why ? why : "unknown reason");
    }
    return nullptr;
  }
  std::string why;
  if (!lib->BindAll(&why)) {
    if (error) *error = name + ": " + why;
    return nullptr;  // the destructor unloads the library and forgets the entries
  }
  lib->udev_ = lib->udev_new();
  if (lib->udev_ == nullptr) {
    if (error) *error = name + ": udev_new failed";
    return nullptr;
  }
  return lib;
}

bool UdevLibrary::BindAll(std::string* error) {
  void* h = handle_;
  return Bind(h, "udev_new", udev_new, error) && Bind(h, "udev_unref", udev_unref, error) &&
         Bind(h, "udev_device_unref", udev_device_unref, error) &&
         Bind(h, "udev_device_get_syspath", udev_device_get_syspath, error) &&
         Bind(h, "udev_device_get_subsystem", udev_device_get_subsystem, error) &&
         Bind(h, "udev_device_get_action", udev_device_get_action, error) &&
         Bind(h, "udev_monitor_new_from_netlink", udev_monitor_new_from_netlink, error) &&
         Bind(h, "udev_monitor_filter_add_match_subsystem_devtype", udev_monitor_filter_add_match_subsystem_devtype,
              error) &&
         Bind(h, "udev_monitor_enable_receiving", udev_monitor_enable_receiving, error) &&
         Bind(h, "udev_monitor_set_receive_buffer_size", udev_monitor_set_receive_buffer_size, error) &&
         Bind(h, "udev_monitor_get_fd", udev_monitor_get_fd, error) &&
         Bind(h, "udev_monitor_receive_device", udev_monitor_receive_device, error) &&
         Bind(h, "udev_monitor_unref", udev_monitor_unref, error);
}

UdevLibrary::~UdevLibrary() {
  if (udev_ != nullptr) udev_unref(udev_);
  if (handle_ != nullptr) dlclose(handle_);
}

}  // namespace hid::platform::linux_
