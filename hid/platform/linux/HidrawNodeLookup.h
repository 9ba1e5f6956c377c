// Finding hidraw devices in sysfs: the present ones, the one a node path
// stands for, the one an open fd is bound to. A device is named by its
// hidraw sys path ("/sys/devices/.../hidraw/hidraw3"), which includes the
// hid device above it: a node number given to a later device gives another
// sys path.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hid::platform::linux_ {

// The hidraw devices present, in the order of their sys paths.
std::vector<std::string> ListHidrawSyspaths();

// The hidraw device the node at `node` stands for now: by the node's device
// number, else by its name in the hidraw class. nullopt when there is none.
std::optional<std::string> HidrawSyspathOfNode(const std::string& node);

// The hidraw device an fd opened on `node` is bound to: by the device number
// the fd refers to, else as for HidrawSyspathOfNode.
std::optional<std::string> HidrawSyspathOfFd(int fd, const std::string& node);

}  // namespace hid::platform::linux_
