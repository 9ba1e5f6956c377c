#include "hid/platform/linux/SysfsFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace hid::platform::linux_ {

namespace {
// Attribute texts (names, serial numbers, uevent files) are far below a page.
constexpr std::size_t kAttributeLimit = 4096;
}  // namespace

std::optional<std::vector<std::uint8_t>> ReadSysfsFile(const std::string& path, std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // Not zeroed: only what was read is kept.
  std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[limit]);
  std::size_t used = 0;
  bool ok = true;
  while (used < limit) {
    const ssize_t n = ::read(fd, bytes.get() + used, limit - used);
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
  return std::vector<std::uint8_t>(bytes.get(), bytes.get() + used);
}

std::optional<std::string> ReadSysfsAttribute(const std::string& path) {
  const auto bytes = ReadSysfsFile(path, kAttributeLimit);
  if (!bytes) return std::nullopt;
  std::string text(bytes->begin(), bytes->end());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string ParentPath(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

std::optional<std::string> ResolveSysfsLink(const std::string& link) {
  char target[PATH_MAX];
  const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
  if (n <= 0) return std::nullopt;
  std::string_view rest(target, static_cast<std::size_t>(n));
  std::string resolved = rest.front() == '/' ? std::string() : ParentPath(link);
  // sysfs links are relative ("../../devices/..."); step up per "..".
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view step = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (step.empty() || step == ".") continue;
    if (step == "..") {
      resolved = ParentPath(resolved);
    } else {
      resolved.append("/").append(step);
    }
  }
  if (resolved.empty() || ::access(resolved.c_str(), F_OK) != 0) return std::nullopt;
  return resolved;
}

std::optional<std::string_view> UeventValue(std::string_view uevent, std::string_view key) {
  while (!uevent.empty()) {
    const auto end = uevent.find('\n');
    const std::string_view line = uevent.substr(0, end);
    if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=') {
      return line.substr(key.size() + 1);
    }
    if (end == std::string_view::npos) break;
    uevent.remove_prefix(end + 1);
  }
  return std::nullopt;
}

}  // namespace hid::platform::linux_
