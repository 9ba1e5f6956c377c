#include "hid/platform/linux/HidrawSnapshot.h"

#include <algorithm>
#include <string>

#include "hid/platform/descriptor/ReportDescriptor.h"
#include "hid/platform/linux/DeviceIdentityRegistry.h"
#include "hid/platform/linux/HidrawPath.h"
#include "hid/platform/linux/ReportDescriptorSource.h"
#include "hid/platform/linux/UdevDevicePtr.h"

namespace hid::platform::linux_ {

namespace {

// Appends the entries of one hidraw device.
void AddNode(const UdevLibrary& lib, struct udev_device* hidraw, std::vector<InterfaceDetail>& entries) {
  const char* node = lib.udev_device_get_devnode(hidraw);
  const char* syspath = lib.udev_device_get_syspath(hidraw);
  if (node == nullptr || syspath == nullptr) return;  // no node to open
  std::string identity = syspath;
  std::size_t collections = 1;
  if (struct udev_device* hid = lib.udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr)) {
    if (const char* hidPath = lib.udev_device_get_syspath(hid)) {
      identity = hidPath;
      if (auto bytes = ReadDescriptorFromSysfs(identity)) {
        collections = std::max<std::size_t>(1, descriptor::ParseReportDescriptor(*bytes).collections.size());
      }
    }
  }
  auto& registry = DeviceIdentityRegistry::Instance();
  if (collections == 1) {
    entries.push_back(InterfaceDetail{node, registry.Intern(identity)});
    return;
  }
  for (std::size_t c = 0; c < collections; ++c) {
    entries.push_back(InterfaceDetail{FormatHidrawPath(node, c), registry.Intern(FormatHidrawPath(identity, c))});
  }
}

}  // namespace

std::unique_ptr<HidrawSnapshot> HidrawSnapshot::Take(const UdevLibrary& lib, DepartedNodes* departed) {
  if (departed != nullptr) departed->Prune();
  struct udev_enumerate* enumerate = lib.udev_enumerate_new(lib.context());
  if (enumerate == nullptr) return nullptr;
  std::vector<InterfaceDetail> entries;
  bool ok = lib.udev_enumerate_add_match_subsystem(enumerate, "hidraw") >= 0 &&
            lib.udev_enumerate_scan_devices(enumerate) >= 0;
  if (ok) {
    for (auto* entry = lib.udev_enumerate_get_list_entry(enumerate); entry != nullptr;
         entry = lib.udev_list_entry_get_next(entry)) {
      const char* syspath = lib.udev_list_entry_get_name(entry);
      if (syspath == nullptr || (departed != nullptr && departed->Contains(syspath))) continue;
      UdevDevicePtr device(lib, lib.udev_device_new_from_syspath(lib.context(), syspath));
      if (device) AddNode(lib, device.get(), entries);
    }
  }
  lib.udev_enumerate_unref(enumerate);
  if (!ok) return nullptr;
  return std::make_unique<HidrawSnapshot>(std::move(entries));
}

bool HidrawSnapshot::EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) {
  if (index >= entries_.size()) return false;
  out = entries_[index];
  return true;
}

}  // namespace hid::platform::linux_
