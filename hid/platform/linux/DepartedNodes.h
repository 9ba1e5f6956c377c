// Hidraw devices whose "remove" event has been seen.
//
// A remove event can arrive while the device's sysfs entry still exists: the
// kernel sends it just before it deletes the entry, and a rescan made at once
// would find the departed device again and keep it listed. The monitor records
// each removed device's sys path here, an "add" of the same path takes it out
// again, and snapshots leave recorded devices out. Entries whose sysfs folder
// is gone are dropped, so the set stays small.
#pragma once

#include <mutex>
#include <string>
#include <unordered_set>

namespace hid::platform::linux_ {

class DepartedNodes {
 public:
  void Removed(const std::string& syspath);
  void Added(const std::string& syspath);
  // True when the device at `syspath` was removed and not added again.
  bool Contains(const std::string& syspath) const;
  // Forgets the devices whose sysfs folder no longer exists.
  void Prune();
  std::size_t size() const;

 private:
  mutable std::mutex mutex_;
  std::unordered_set<std::string> paths_;
};

}  // namespace hid::platform::linux_
