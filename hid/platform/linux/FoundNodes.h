// What the scans found at each hidraw node: the device (its hidraw sys path)
// and what sysfs said about it. Opening a node by path checks that the node
// still belongs to the device it was found with, since the kernel gives a
// freed node number to the next device; and the open takes the rest from
// here instead of asking sysfs again. Thread-safe.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "hid/platform/linux/HidrawNodeInfo.h"

namespace hid::platform::linux_ {

class FoundNodes {
 public:
  // Records what a scan found at `info.devnode`, replacing an older record.
  void Record(std::shared_ptr<const HidrawNodeInfo> info);
  // The last record of `devnode`; null when no scan listed it.
  std::shared_ptr<const HidrawNodeInfo> Find(const std::string& devnode) const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::string, std::shared_ptr<const HidrawNodeInfo>> nodes_;
};

}  // namespace hid::platform::linux_
