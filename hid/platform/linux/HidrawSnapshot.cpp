#include "hid/platform/linux/HidrawSnapshot.h"

#include <algorithm>
#include <string>

#include "hid/platform/linux/DeviceIdentityRegistry.h"
#include "hid/platform/linux/HidrawNodeLookup.h"
#include "hid/platform/linux/HidrawPath.h"

namespace hid::platform::linux_ {

namespace {

// Appends the entries of one hidraw node.
void AddNode(const HidrawNodeInfo& info, std::vector<InterfaceDetail>& entries) {
  const std::string& identity = info.IdentityPath();
  const std::size_t collections =
      info.descriptor ? std::max<std::size_t>(1, info.descriptor->collections.size()) : std::size_t{1};
  auto& registry = DeviceIdentityRegistry::Instance();
  if (collections == 1) {
    entries.push_back(InterfaceDetail{info.devnode, registry.Intern(identity)});
    return;
  }
  for (std::size_t c = 0; c < collections; ++c) {
    entries.push_back(
        InterfaceDetail{FormatHidrawPath(info.devnode, c), registry.Intern(FormatHidrawPath(identity, c))});
  }
}

}  // namespace

std::unique_ptr<HidrawSnapshot> HidrawSnapshot::Take(DepartedNodes* departed, FoundNodes* found) {
  if (departed != nullptr) departed->Prune();
  std::vector<InterfaceDetail> entries;
  for (const std::string& syspath : ListHidrawSyspaths()) {
    if (departed != nullptr && departed->Contains(syspath)) continue;
    auto info = std::make_shared<const HidrawNodeInfo>(DescribeHidrawNode(syspath));
    AddNode(*info, entries);
    if (found != nullptr) found->Record(std::move(info));
  }
  return std::make_unique<HidrawSnapshot>(std::move(entries));
}

bool HidrawSnapshot::EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) {
  if (index >= entries_.size()) return false;
  out = entries_[index];
  return true;
}

}  // namespace hid::platform::linux_
