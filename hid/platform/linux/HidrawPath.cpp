#include "hid/platform/linux/HidrawPath.h"

namespace hid::platform::linux_ {

namespace {
constexpr char kSuffix[] = "#col";
constexpr std::size_t kSuffixLength = sizeof kSuffix - 1;
constexpr std::size_t kMaxCollectionNumber = 9999;
}  // namespace

std::string FormatHidrawPath(const std::string& node, std::optional<std::size_t> collection) {
  if (!collection) return node;
  return node + kSuffix + std::to_string(*collection + 1);
}

HidrawPath ParseHidrawPath(const std::string& path) {
  HidrawPath out;
  out.node = path;
  const auto at = path.rfind(kSuffix);
  if (at == std::string::npos || at == 0) return out;
  const std::string digits = path.substr(at + kSuffixLength);
  if (digits.empty() || digits.size() > 4 || digits[0] == '0') return out;
  std::size_t number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return out;
    number = number * 10 + static_cast<std::size_t>(c - '0');
  }
  if (number == 0 || number > kMaxCollectionNumber) return out;
  out.node = path.substr(0, at);
  out.collection = number - 1;
  out.namesCollection = true;
  return out;
}

}  // namespace hid::platform::linux_
