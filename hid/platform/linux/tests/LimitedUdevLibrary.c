/* libudev in front of the real one, for the monitor tests, behaving as an
   older libudev under strain: its monitor sockets keep the kernel's usual
   receive buffer, and on request the next receive loses every pending event
   and fails with ENOBUFS, as a receive on a socket whose buffer overflowed
   does. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stddef.h>
#include <sys/socket.h>
#include <sys/types.h>

struct udev;
struct udev_device;
struct udev_enumerate;
struct udev_list_entry;
struct udev_monitor;

static void* Real(const char* name) {
  static void* lib;
  if (lib == NULL) lib = dlopen("libudev.so.1", RTLD_NOW | RTLD_LOCAL);
  return lib != NULL ? dlsym(lib, name) : NULL;
}

/* dlsym gives an object pointer; it is stored into the function pointer's
   bytes, which ISO C allows where a cast between the two is not. */
#define BIND(slot, name) (*(void**)(&(slot)) = Real(name))

#define FORWARD(ret, name, params, args)   \
  ret name params {                        \
    static ret(*real) params;              \
    if (real == NULL) BIND(real, #name);   \
    return real args;                      \
  }

FORWARD(struct udev*, udev_new, (void), ())
FORWARD(struct udev*, udev_unref, (struct udev * u), (u))
FORWARD(struct udev_device*, udev_device_unref, (struct udev_device * d), (d))
FORWARD(const char*, udev_device_get_syspath, (struct udev_device * d), (d))
FORWARD(const char*, udev_device_get_subsystem, (struct udev_device * d), (d))
FORWARD(const char*, udev_device_get_action, (struct udev_device * d), (d))
/* Entries a binding may bind besides those of the monitor. */
FORWARD(struct udev_enumerate*, udev_enumerate_new, (struct udev * u), (u))
FORWARD(int, udev_enumerate_add_match_subsystem, (struct udev_enumerate * e, const char* s), (e, s))
FORWARD(int, udev_enumerate_scan_devices, (struct udev_enumerate * e), (e))
FORWARD(struct udev_list_entry*, udev_enumerate_get_list_entry, (struct udev_enumerate * e), (e))
FORWARD(struct udev_enumerate*, udev_enumerate_unref, (struct udev_enumerate * e), (e))
FORWARD(struct udev_list_entry*, udev_list_entry_get_next, (struct udev_list_entry * l), (l))
FORWARD(const char*, udev_list_entry_get_name, (struct udev_list_entry * l), (l))
FORWARD(struct udev_device*, udev_device_new_from_syspath, (struct udev * u, const char* p), (u, p))
FORWARD(struct udev_device*, udev_device_new_from_devnum, (struct udev * u, char t, dev_t n), (u, t, n))
FORWARD(struct udev_device*, udev_device_new_from_subsystem_sysname, (struct udev * u, const char* s, const char* n),
        (u, s, n))
FORWARD(struct udev_device*, udev_device_get_parent_with_subsystem_devtype,
        (struct udev_device * d, const char* s, const char* t), (d, s, t))
FORWARD(const char*, udev_device_get_devnode, (struct udev_device * d), (d))
FORWARD(const char*, udev_device_get_sysattr_value, (struct udev_device * d, const char* a), (d, a))
FORWARD(const char*, udev_device_get_property_value, (struct udev_device * d, const char* k), (d, k))
FORWARD(int, udev_monitor_filter_add_match_subsystem_devtype,
        (struct udev_monitor * m, const char* subsystem, const char* devtype), (m, subsystem, devtype))
FORWARD(int, udev_monitor_enable_receiving, (struct udev_monitor * m), (m))
FORWARD(int, udev_monitor_set_receive_buffer_size, (struct udev_monitor * m, int size), (m, size))
FORWARD(int, udev_monitor_get_fd, (struct udev_monitor * m), (m))
FORWARD(struct udev_monitor*, udev_monitor_unref, (struct udev_monitor * m), (m))

/* The usual net.core.rmem_default; the kernel doubles what it is given. */
enum { kUsualReceiveBuffer = 212992 / 2 };

struct udev_monitor* udev_monitor_new_from_netlink(struct udev* u, const char* name) {
  static struct udev_monitor* (*real)(struct udev*, const char*);
  if (real == NULL) BIND(real, "udev_monitor_new_from_netlink");
  struct udev_monitor* m = real(u, name);
  if (m != NULL) {
    const int size = kUsualReceiveBuffer;
    setsockopt(udev_monitor_get_fd(m), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  }
  return m;
}

static int loseNext;

void varnok_udev_lose_pending_events(void) { loseNext = 1; }

struct udev_device* udev_monitor_receive_device(struct udev_monitor* m) {
  static struct udev_device* (*real)(struct udev_monitor*);
  if (real == NULL) BIND(real, "udev_monitor_receive_device");
  if (!loseNext) return real(m);
  loseNext = 0;
  struct udev_device* lost;
  while ((lost = real(m)) != NULL) udev_device_unref(lost);
  errno = ENOBUFS;
  return NULL;
}
