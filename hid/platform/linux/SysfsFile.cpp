#include "hid/platform/linux/SysfsFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace hid::platform::linux_ {

std::optional<std::vector<std::uint8_t>> ReadSysfsFile(const std::string& path, std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(limit);
  std::size_t used = 0;
  bool ok = true;
  while (used < limit) {
    const ssize_t n = ::read(fd, bytes.data() + used, limit - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  bytes.resize(used);
  return bytes;
}

}  // namespace hid::platform::linux_
