// setupapi.dll and hid.dll, loaded at run time with every entry the binding
// uses bound, all or nothing: Load gives both libraries with all their entries,
// or nothing (whatever it had loaded is freed again). hid.dll is loaded only
// once setupapi.dll is there.
//
// The backend shares one HidLibraries among its handles, so the libraries stay
// loaded while any handle still calls into them.
#pragma once

#include <memory>
#include <string>

#include "hid/platform/windows/DynamicLibrary.h"
#include "hid/platform/windows/Win32.h"
// After windows.h:
#include <hidsdi.h>
#include <setupapi.h>

namespace hid::platform::windows {

class HidLibraries {
 public:
  // nullptr on failure; *error then says which library or entry failed.
  static std::unique_ptr<const HidLibraries> Load(const std::string& setupApiName, const std::string& hidName,
                                                  std::string* error);

  // setupapi.dll
  decltype(&::SetupDiGetClassDevsA) SetupDiGetClassDevsA = nullptr;
  decltype(&::SetupDiEnumDeviceInterfaces) SetupDiEnumDeviceInterfaces = nullptr;
  decltype(&::SetupDiGetDeviceInterfaceDetailA) SetupDiGetDeviceInterfaceDetailA = nullptr;
  decltype(&::SetupDiDestroyDeviceInfoList) SetupDiDestroyDeviceInfoList = nullptr;
  // hid.dll
  decltype(&::HidD_GetHidGuid) HidD_GetHidGuid = nullptr;
  decltype(&::HidD_GetAttributes) HidD_GetAttributes = nullptr;
  decltype(&::HidD_GetPreparsedData) HidD_GetPreparsedData = nullptr;
  decltype(&::HidD_FreePreparsedData) HidD_FreePreparsedData = nullptr;
  decltype(&::HidP_GetCaps) HidP_GetCaps = nullptr;
  decltype(&::HidD_GetProductString) HidD_GetProductString = nullptr;
  decltype(&::HidD_GetSerialNumberString) HidD_GetSerialNumberString = nullptr;
  decltype(&::HidD_GetIndexedString) HidD_GetIndexedString = nullptr;

  // The HID device-interface class, from HidD_GetHidGuid.
  GUID HidClass() const { return hidClass_; }

 private:
  HidLibraries() = default;

  std::unique_ptr<DynamicLibrary> setupApi_;
  std::unique_ptr<DynamicLibrary> hid_;
  GUID hidClass_{};
};

}  // namespace hid::platform::windows
