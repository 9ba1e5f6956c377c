// The HID device-interface class, as hid.dll's HidD_GetHidGuid gives it.
#pragma once

#include <windows.h>

namespace fakehid {

inline constexpr GUID kHidClassGuid = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

}  // namespace fakehid
