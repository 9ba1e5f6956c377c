// A umockdev testbed with fake hidraw devices, for tests of the hidraw binding
// and end-to-end tests of the program.
//
// The process must run under `umockdev-wrapper` (Available() tells); every
// process started from it inherits the testbed (its environment names it), so
// a test driver can plug a fake pedal and then start the program:
//
//   FakeHidTestbed bed;                       // one per process at a time
//   auto& node = bed.Plug(FakePedal::Description("FS0001"));
//   FakePedal pedal(node);                    // answers read requests
//   ... run the program or the backend ...
//   node.Written();                           // the reports the host sent
//   bed.Unplug(node);                         // "remove" uevents, then gone
//
// Plug sends "add" uevents for the device and its parents; Unplug sends
// "remove" uevents bottom-up before it removes the devices, and from then on
// reads, writes and ioctls on open fds of the node fail with ENODEV.
//
// Nodes are /dev/hidraw0, 1, ... in plugging order. The fakes answer on the
// testbed's worker thread, also for other processes: a child must open the
// node by path itself (umockdev does not follow dup(), so a shell redirection
// to the node does not reach the fake), and it must have ended before the
// testbed is destroyed. Link varnok_umockdev_fakes and start the test with
// ${VARNOK_UMOCKDEV_WRAPPER} (CMake) in front of the executable.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hid/platform/linux/tests/FakeDeviceDescription.h"
#include "hid/platform/linux/tests/FakeHidDevice.h"

struct _UMockdevTestbed;
struct _UMockdevIoctlBase;

namespace hid::platform::linux_::fakes {

class FakeHidTestbed {
 public:
  // True when the umockdev preload library is active in this process.
  static bool Available();

  FakeHidTestbed();
  ~FakeHidTestbed();
  FakeHidTestbed(const FakeHidTestbed&) = delete;
  FakeHidTestbed& operator=(const FakeHidTestbed&) = delete;

  // Adds a device as the kernel would: (usb_device > usb_interface >) hid >
  // hidraw. Throws std::runtime_error when umockdev refuses.
  FakeHidDevice& Plug(const FakeDeviceDescription& description);
  void Unplug(FakeHidDevice& device);
  // A uevent for a device of the testbed ("change", ...).
  void Uevent(const std::string& syspath, const std::string& action);

  const std::string& rootDir() const { return rootDir_; }

 private:
  struct Slot {
    std::unique_ptr<FakeHidDevice> device;
    _UMockdevIoctlBase* handler = nullptr;
    std::vector<std::string> syspaths;  // hidraw first, top-most parent last
  };

  _UMockdevTestbed* testbed_ = nullptr;
  std::string rootDir_;
  std::vector<Slot> slots_;
  unsigned nextNumber_ = 0;
};

}  // namespace hid::platform::linux_::fakes
