#include "hid/platform/linux/DeviceIdentityRegistry.h"

namespace hid::platform::linux_ {

DeviceIdentityRegistry& DeviceIdentityRegistry::Instance() {
  static DeviceIdentityRegistry registry;
  return registry;
}

std::uint32_t DeviceIdentityRegistry::Intern(const std::string& identity) {
  std::lock_guard lock(mutex_);
  const auto next = static_cast<std::uint32_t>(numbers_.size() + 1);
  return numbers_.try_emplace(identity, next).first->second;
}

}  // namespace hid::platform::linux_
