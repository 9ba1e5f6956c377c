#include "hid/platform/linux/UdevMonitor.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <cstring>

#include "hid/platform/linux/UdevDevicePtr.h"

namespace hid::platform::linux_ {

namespace {

// Room for a few hundred hidraw events; the kernel grants at most
// net.core.rmem_max to a process without CAP_NET_ADMIN.
constexpr int kReceiveBufferBytes = 1 << 20;
// Receive errors in a row after which a Drain gives up; the host loop calls
// again while the socket stays readable.
constexpr int kMaxErrorsInARow = 8;

// Raises the socket's receive buffer to kReceiveBufferBytes where it is
// smaller (recent libudev versions make it far larger themselves).
void EnlargeReceiveBuffer(const UdevLibrary& lib, struct udev_monitor* monitor, int fd) {
  int size = 0;
  socklen_t length = sizeof size;
  if (::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, &length) == 0 && size >= 2 * kReceiveBufferBytes) return;
  (void)lib.udev_monitor_set_receive_buffer_size(monitor, kReceiveBufferBytes);  // the default will do as well
}

}  // namespace

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
  if (ok) EnlargeReceiveBuffer(*lib, monitor, fd);
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
  int errors = 0;
  for (;;) {
    errno = 0;
    UdevDevicePtr device(*lib_, lib_->udev_monitor_receive_device(monitor_));
    if (!device) {
      const int error = errno;
      if (error == EAGAIN || error == EWOULDBLOCK) break;  // nothing more pending
      if (error == EINTR) continue;
      // ENOBUFS: the socket's buffer overflowed and events were lost. Any
      // other failure may have hidden a change as well.
      changed = true;
      if (++errors == kMaxErrorsInARow) break;
      continue;
    }
    errors = 0;
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
