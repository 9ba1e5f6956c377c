#include "hid/platform/linux/UdevMonitor.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "hid/platform/linux/UdevDevicePtr.h"

namespace hid::platform::linux_ {

std::string UdevMonitor::DefaultSource() {
  return ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
}

std::unique_ptr<UdevMonitor> UdevMonitor::Create(std::shared_ptr<const UdevLibrary> lib, const std::string& source,
                                                 std::shared_ptr<DepartedNodes> departed) {
  if (!lib) return nullptr;
  struct udev_monitor* monitor = lib->udev_monitor_new_from_netlink(lib->context(), source.c_str());
  if (monitor == nullptr) return nullptr;
  const int fd = lib->udev_monitor_get_fd(monitor);
  const bool ok = lib->udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) >= 0 &&
                  lib->udev_monitor_enable_receiving(monitor) >= 0 && fd >= 0;
  const int flags = ok ? ::fcntl(fd, F_GETFL) : -1;
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
    lib->udev_monitor_unref(monitor);
    return nullptr;
  }
  return std::unique_ptr<UdevMonitor>(new UdevMonitor(std::move(lib), monitor, fd, source, std::move(departed)));
}

UdevMonitor::~UdevMonitor() { lib_->udev_monitor_unref(monitor_); }

bool UdevMonitor::Drain() {
  bool changed = false;
  for (;;) {
    UdevDevicePtr device(*lib_, lib_->udev_monitor_receive_device(monitor_));
    if (!device) break;  // nothing more pending
    const char* subsystem = lib_->udev_device_get_subsystem(device.get());
    const char* action = lib_->udev_device_get_action(device.get());
    if (subsystem == nullptr || action == nullptr || std::strcmp(subsystem, "hidraw") != 0) continue;
    const bool added = std::strcmp(action, "add") == 0;
    const bool removed = std::strcmp(action, "remove") == 0;
    if (added || removed || std::strcmp(action, "change") == 0) changed = true;
    const char* syspath = lib_->udev_device_get_syspath(device.get());
    if (departed_ && syspath != nullptr) {
      if (removed) departed_->Removed(syspath);
      if (added) departed_->Added(syspath);
    }
  }
  return changed;
}

}  // namespace hid::platform::linux_
