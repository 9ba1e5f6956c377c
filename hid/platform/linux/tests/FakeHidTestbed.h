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
// Nodes are /dev/hidraw0, 1, ... in plugging order; PlugReusingNode gives a
// new device the node of an unplugged one, as the kernel reuses a freed minor
// number (fds opened before stay bound to the old device). The fakes answer on the
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
#include "hid/platform/linux/tests/FakeHidNode.h"

struct _UMockdevTestbed;

namespace hid::platform::linux_::fakes {

class FakeHidTestbed {
 public:
  // True when the umockdev preload library is active in this process.
  static bool Available();

  // `writersWakePoll`: the nodes' users read and write on one fd (see
  // FakeHidNode::SetWritersWakePoll).
  explicit FakeHidTestbed(bool writersWakePoll = false);
  ~FakeHidTestbed();
  FakeHidTestbed(const FakeHidTestbed&) = delete;
  FakeHidTestbed& operator=(const FakeHidTestbed&) = delete;

  // Adds a device as the kernel would: (usb_device > usb_interface >) hid >
  // hidraw. Throws std::runtime_error when umockdev refuses.
  FakeHidDevice& Plug(const FakeDeviceDescription& description);
  // The same on the node of `gone`, which must have been unplugged.
  FakeHidDevice& PlugReusingNode(const FakeDeviceDescription& description, const FakeHidDevice& gone);
  void Unplug(FakeHidDevice& device);
  // A uevent for a device of the testbed ("change", ...).
  void Uevent(const std::string& syspath, const std::string& action);

  const std::string& rootDir() const { return rootDir_; }

 private:
  struct Slot {
    std::unique_ptr<FakeHidDevice> device;
    std::vector<std::string> syspaths;  // hidraw first, top-most parent last
  };

  FakeHidDevice& Add(const FakeDeviceDescription& description, FakeHidNode& node, bool newNode);

  _UMockdevTestbed* testbed_ = nullptr;
  std::string rootDir_;
  std::vector<std::unique_ptr<FakeHidNode>> nodes_;
  std::vector<Slot> slots_;
  unsigned plugs_ = 0;
  bool writersWakePoll_ = false;
};

}  // namespace hid::platform::linux_::fakes
