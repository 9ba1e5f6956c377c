#include "hid/platform/linux/tests/FakeHidTestbed.h"

#include <umockdev.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <unistd.h>

namespace hid::platform::linux_::fakes {

namespace {

constexpr unsigned kHidrawMajor = 245;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  char two[3];
  for (auto b : bytes) {
    std::snprintf(two, sizeof two, "%02X", b);
    out += two;
  }
  return out;
}

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

std::string Lower(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool FakeHidTestbed::Available() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

FakeHidTestbed::FakeHidTestbed(bool writersWakePoll) : writersWakePoll_(writersWakePoll) {
  testbed_ = umockdev_testbed_new();
  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  rootDir_ = root;
  g_free(root);
}

FakeHidTestbed::~FakeHidTestbed() {
  // The testbed's worker thread runs the handlers; it ends with the testbed.
  // The devices and nodes go after it.
  g_object_unref(testbed_);
}

FakeHidDevice& FakeHidTestbed::Plug(const FakeDeviceDescription& d) {
  auto node = std::make_unique<FakeHidNode>("/dev/hidraw" + std::to_string(nodes_.size()), rootDir_);
  FakeHidNode& added = *node;
  added.SetWritersWakePoll(writersWakePoll_);
  nodes_.push_back(std::move(node));
  try {
    return Add(d, added, true);
  } catch (...) {
    nodes_.pop_back();
    throw;
  }
}

FakeHidDevice& FakeHidTestbed::PlugReusingNode(const FakeDeviceDescription& d, const FakeHidDevice& gone) {
  if (gone.plugged()) throw std::logic_error("the node of " + gone.devnode() + " is still in use");
  return Add(d, gone.node(), false);
}

FakeHidDevice& FakeHidTestbed::Add(const FakeDeviceDescription& d, FakeHidNode& node, bool newNode) {
  const unsigned n = plugs_++;  // names the device's hid and USB parents
  const unsigned minor = node.number();
  const std::string& devnode = node.devnode();
  const std::string vid = Hex4(d.vendorId), pid = Hex4(d.productId);
  const std::string bus = d.usbParent ? "0003" : "0006";
  const std::string hidName = bus + ":" + vid + ":" + pid + "." + Hex4(n + 1);

  std::vector<std::string> syspaths;
  std::string records;
  std::string parent;
  if (d.usbParent) {
    const std::string port = std::to_string(n + 1);
    const std::string usb = "/devices/pci0000:00/0000:00:14.0/usb1/1-" + port;
    const std::string iface = usb + "/1-" + port + ":1.0";
    // USB device numbers run from 2 to 127 on a bus; a hub of pedals fills
    // one bus after the other.
    char usbNode[32];
    std::snprintf(usbNode, sizeof usbNode, "bus/usb/%03u/%03u", 1 + n / 126, 2 + n % 126);
    // The USB core puts PRODUCT (vendor/product/release in hex) and TYPE
    // (device class/subclass/protocol) on the device's and every interface's
    // uevent; some readers take the release from the interface's.
    char product[32];
    std::snprintf(product, sizeof product, "%x/%x/%x", unsigned{d.vendorId}, unsigned{d.productId},
                  unsigned{d.bcdDevice});
    const std::string usbIds = "\nE: PRODUCT=" + std::string(product) + "\nE: TYPE=0/0/0";
    records += "P: " + usb + "\nN: " + usbNode + "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb" + usbIds +
               "\nA: idVendor=" + Lower(vid) +
               "\nA: idProduct=" + Lower(pid) + "\nA: bcdDevice=" + Lower(Hex4(d.bcdDevice)) + "\n";
    if (!d.manufacturer.empty()) records += "A: manufacturer=" + d.manufacturer + "\n";
    if (!d.product.empty()) records += "A: product=" + d.product + "\n";
    if (!d.serial.empty()) records += "A: serial=" + d.serial + "\n";
    records += "\nP: " + iface + "\nE: DEVTYPE=usb_interface\nE: SUBSYSTEM=usb" + usbIds +
               "\nE: INTERFACE=3/0/0\nA: bInterfaceClass=03\n\n";
    syspaths = {usb, iface};
    parent = iface;
  } else {
    parent = "/devices/virtual/misc/uhid";
  }
  const std::string hid = parent + "/" + hidName;
  std::string name = d.manufacturer.empty() ? d.product : d.manufacturer + " " + d.product;
  records += "P: " + hid + "\nE: SUBSYSTEM=hid\nE: HID_ID=" + bus + ":0000" + vid + ":0000" + pid +
             "\nE: HID_NAME=" + name + "\nE: HID_UNIQ=" + d.serial + "\nE: HID_PHYS=fake-" + std::to_string(n) +
             "\nH: report_descriptor=" + Hex(d.reportDescriptor) + "\n\n";
  const std::string number = std::to_string(minor);
  const std::string hidraw = hid + "/hidraw/hidraw" + number;
  // A reused node keeps its device file: umockdev cannot make it again.
  records += "P: " + hidraw + (newNode ? "\nN: hidraw" + number : std::string()) + "\nE: DEVNAME=" + devnode +
             "\nE: SUBSYSTEM=hidraw\nE: MAJOR=" + std::to_string(kHidrawMajor) + "\nE: MINOR=" + number +
             "\nA: dev=" + std::to_string(kHidrawMajor) + ":" + number + "\n";
  syspaths.push_back(hid);
  syspaths.push_back(hidraw);

  Slot slot;
  slot.device = std::make_unique<FakeHidDevice>(d, node, "/sys" + hidraw, "/sys" + hid);
  node.SetOccupant(slot.device.get());
  GError* error = nullptr;
  bool ok = true;
  if (newNode) {
    // The handler must be in place before the node appears.
    ok = umockdev_testbed_attach_ioctl(testbed_, devnode.c_str(), node.handler(), &error);
  } else {
    // What the removed device left behind would make umockdev refuse the new one.
    for (const std::string& link : {"/sys/class/hidraw/hidraw" + number,
                                    "/sys/dev/char/" + std::to_string(kHidrawMajor) + ":" + number,
                                    "/dev/.node/hidraw" + number}) {
      ::unlink((rootDir_ + link).c_str());
    }
  }
  ok = ok && umockdev_testbed_add_from_string(testbed_, records.c_str(), &error);
  if (!ok) {
    const std::string why = error ? error->message : "unknown";
    g_clear_error(&error);
    node.SetOccupant(nullptr);
    throw std::runtime_error("umockdev: " + why);
  }
  if (newNode) node.AttachMaster(umockdev_testbed_get_dev_fd(testbed_, devnode.c_str()));
  for (auto& path : syspaths) path = "/sys" + path;
  std::reverse(syspaths.begin(), syspaths.end());  // hidraw first
  slot.syspaths = std::move(syspaths);
  slots_.push_back(std::move(slot));
  return *slots_.back().device;
}

void FakeHidTestbed::Unplug(FakeHidDevice& device) {
  for (auto& slot : slots_) {
    if (slot.device.get() != &device || !device.plugged()) continue;
    device.MarkUnplugged();
    for (const auto& path : slot.syspaths) umockdev_testbed_uevent(testbed_, path.c_str(), "remove");
    umockdev_testbed_remove_device(testbed_, slot.syspaths.back().c_str());
    return;
  }
}

void FakeHidTestbed::Uevent(const std::string& syspath, const std::string& action) {
  umockdev_testbed_uevent(testbed_, syspath.c_str(), action.c_str());
}

}  // namespace hid::platform::linux_::fakes
