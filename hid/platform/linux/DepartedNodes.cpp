#include "hid/platform/linux/DepartedNodes.h"

#include <unistd.h>

namespace hid::platform::linux_ {

void DepartedNodes::Removed(const std::string& syspath) {
  std::lock_guard lock(mutex_);
  paths_.insert(syspath);
}

void DepartedNodes::Added(const std::string& syspath) {
  std::lock_guard lock(mutex_);
  paths_.erase(syspath);
}

bool DepartedNodes::Contains(const std::string& syspath) const {
  std::lock_guard lock(mutex_);
  return paths_.count(syspath) != 0;
}

void DepartedNodes::Prune() {
  std::lock_guard lock(mutex_);
  for (auto it = paths_.begin(); it != paths_.end();) {
    it = ::access(it->c_str(), F_OK) == 0 ? std::next(it) : paths_.erase(it);
  }
}

std::size_t DepartedNodes::size() const {
  std::lock_guard lock(mutex_);
  return paths_.size();
}

}  // namespace hid::platform::linux_
