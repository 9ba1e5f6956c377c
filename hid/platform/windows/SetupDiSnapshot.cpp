#include "hid/platform/windows/SetupDiSnapshot.h"

#include <cstddef>
#include <cstring>

namespace hid::platform::windows {

namespace {

// Reads the interface's detail; false when it cannot be had.
bool ReadDetail(const HidLibraries& libs, HDEVINFO info, SP_DEVICE_INTERFACE_DATA& iface, InterfaceDetail& out) {
  DWORD required = 0;
  if (libs.SetupDiGetDeviceInterfaceDetailA(info, &iface, nullptr, 0, &required, nullptr) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
    return false;
  }
  // A zeroed block of the size asked for, aligned for the record at its start.
  std::vector<std::max_align_t> block((required + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
  std::memset(block.data(), 0, block.size() * sizeof(std::max_align_t));
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(block.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  if (!libs.SetupDiGetDeviceInterfaceDetailA(info, &iface, detail, required, nullptr, &device)) return false;
  const std::size_t room = required - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
  out.DevicePath.assign(detail->DevicePath, strnlen(detail->DevicePath, room));
  out.DevInst = static_cast<DeviceInstanceId>(device.DevInst);
  return !out.DevicePath.empty();
}

}  // namespace

std::unique_ptr<SetupDiSnapshot> SetupDiSnapshot::Take(const HidLibraries& libs) {
  GUID hidClass = libs.HidClass();
  HDEVINFO info = libs.SetupDiGetClassDevsA(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (info == INVALID_HANDLE_VALUE) return nullptr;
  std::vector<InterfaceDetail> entries;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!libs.SetupDiEnumDeviceInterfaces(info, nullptr, &hidClass, index, &iface)) break;
    InterfaceDetail detail;
    if (ReadDetail(libs, info, iface, detail)) entries.push_back(std::move(detail));
  }
  libs.SetupDiDestroyDeviceInfoList(info);
  return std::unique_ptr<SetupDiSnapshot>(new SetupDiSnapshot(std::move(entries)));
}

bool SetupDiSnapshot::EnumDeviceInterface(std::uint32_t index, InterfaceDetail& out) {
  if (index >= entries_.size()) return false;
  out = entries_[index];
  return true;
}

}  // namespace hid::platform::windows
