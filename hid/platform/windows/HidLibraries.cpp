#include "hid/platform/windows/HidLibraries.h"

namespace hid::platform::windows {

std::unique_ptr<const HidLibraries> HidLibraries::Load(const std::string& setupApiName, const std::string& hidName,
                                                       std::string* error) {
  std::unique_ptr<HidLibraries> libs(new HidLibraries());
  libs->setupApi_ = DynamicLibrary::Load(setupApiName, error);
  if (!libs->setupApi_) return nullptr;
  const DynamicLibrary& setupApi = *libs->setupApi_;
  if (!setupApi.Bind("SetupDiGetClassDevsA", libs->SetupDiGetClassDevsA, error) ||
      !setupApi.Bind("SetupDiEnumDeviceInterfaces", libs->SetupDiEnumDeviceInterfaces, error) ||
      !setupApi.Bind("SetupDiGetDeviceInterfaceDetailA", libs->SetupDiGetDeviceInterfaceDetailA, error) ||
      !setupApi.Bind("SetupDiDestroyDeviceInfoList", libs->SetupDiDestroyDeviceInfoList, error)) {
    return nullptr;
  }
  libs->hid_ = DynamicLibrary::Load(hidName, error);
  if (!libs->hid_) return nullptr;
  const DynamicLibrary& hid = *libs->hid_;
  if (!hid.Bind("HidD_GetHidGuid", libs->HidD_GetHidGuid, error) ||
      !hid.Bind("HidD_GetAttributes", libs->HidD_GetAttributes, error) ||
      !hid.Bind("HidD_GetPreparsedData", libs->HidD_GetPreparsedData, error) ||
      !hid.Bind("HidD_FreePreparsedData", libs->HidD_FreePreparsedData, error) ||
      !hid.Bind("HidP_GetCaps", libs->HidP_GetCaps, error) ||
      !hid.Bind("HidD_GetProductString", libs->HidD_GetProductString, error) ||
      !hid.Bind("HidD_GetSerialNumberString", libs->HidD_GetSerialNumberString, error) ||
      !hid.Bind("HidD_GetIndexedString", libs->HidD_GetIndexedString, error)) {
    return nullptr;
  }
  libs->HidD_GetHidGuid(&libs->hidClass_);
  return libs;
}

}  // namespace hid::platform::windows
