// Gives every device identity text (a sys path, plus a collection number)
// one 32-bit number for the life of the process. Thread-safe.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace hid::platform::linux_ {

class DeviceIdentityRegistry {
 public:
  // The process-wide registry.
  static DeviceIdentityRegistry& Instance();

  // The number of `identity`; the same text always gives the same number,
  // different texts different numbers. Numbers start at 1.
  std::uint32_t Intern(const std::string& identity);

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, std::uint32_t> numbers_;
};

}  // namespace hid::platform::linux_
