#include "hid/platform/linux/HidrawNodeLookup.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>

#include "hid/platform/linux/SysfsFile.h"

namespace hid::platform::linux_ {

namespace {

constexpr char kHidrawClass[] = "/sys/class/hidraw/";

bool IsHidrawDevice(const std::string& syspath) {
  return syspath.find("/hidraw/hidraw") != std::string::npos;
}

std::optional<std::string> ByNumber(const struct stat& st) {
  if (!S_ISCHR(st.st_mode)) return std::nullopt;
  auto syspath = ResolveSysfsLink("/sys/dev/char/" + std::to_string(major(st.st_rdev)) + ":" +
                                  std::to_string(minor(st.st_rdev)));
  if (syspath && !IsHidrawDevice(*syspath)) return std::nullopt;
  return syspath;
}

std::optional<std::string> ByName(const std::string& node) {
  const auto slash = node.rfind('/');
  const std::string name = slash == std::string::npos ? node : node.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  return ResolveSysfsLink(kHidrawClass + name);
}

}  // namespace

std::vector<std::string> ListHidrawSyspaths() {
  std::vector<std::string> found;
  DIR* dir = ::opendir(kHidrawClass);
  if (dir == nullptr) return found;  // no hidraw device was ever made
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    if (auto syspath = ResolveSysfsLink(kHidrawClass + std::string(entry->d_name))) {
      found.push_back(std::move(*syspath));
    }
  }
  ::closedir(dir);
  std::sort(found.begin(), found.end());
  return found;
}

std::optional<std::string> HidrawSyspathOfNode(const std::string& node) {
  struct stat st {};
  if (::stat(node.c_str(), &st) != 0) return std::nullopt;
  if (auto syspath = ByNumber(st)) return syspath;
  return ByName(node);
}

std::optional<std::string> HidrawSyspathOfFd(int fd, const std::string& node) {
  struct stat st {};
  if (::fstat(fd, &st) == 0) {
    if (auto syspath = ByNumber(st)) return syspath;
  }
  return ByName(node);
}

}  // namespace hid::platform::linux_
