#include "hid/platform/linux/FoundNodes.h"

namespace hid::platform::linux_ {

void FoundNodes::Record(std::shared_ptr<const HidrawNodeInfo> info) {
  std::lock_guard lock(mutex_);
  const std::string devnode = info->devnode;
  nodes_.insert_or_assign(devnode, std::move(info));
}

std::shared_ptr<const HidrawNodeInfo> FoundNodes::Find(const std::string& devnode) const {
  std::lock_guard lock(mutex_);
  const auto it = nodes_.find(devnode);
  return it == nodes_.end() ? nullptr : it->second;
}

}  // namespace hid::platform::linux_
