// Event types of the HID device layer.
#pragma once

#include <cstdint>

#include "hid/Handler.h"

namespace hid {

class THidDevice;
class THidDeviceController;

// A device arrived, left, or was unplugged.
using THidPlugEvent = Handler<void(THidDevice* HidDev)>;
// One present device offered during EnumerateDevices; true goes on with the next.
using THidEnumerateEvent = Handler<bool(THidDevice* HidDev, std::int32_t Idx)>;
// An input report: ReportID is its first byte, Data points at the bytes after
// it, Size counts those bytes. Data is valid only during the call.
using THidDataEvent = Handler<void(THidDevice* HidDev, std::uint8_t ReportID, const std::uint8_t* Data,
                                   std::uint16_t Size)>;
// A read that could not be started; Error is the platform's (errno-style) code.
using THidDataErrorEvent = Handler<void(THidDevice* HidDev, std::uint32_t Error)>;
// The set of attached devices changed (Sender is the controller).
using TNotifyEvent = Handler<void(THidDeviceController* Sender)>;

// Check-out filter of CheckOutFirstMatch: a plain function, not a method.
using DeviceFilter = bool (*)(THidDevice* HidDev);

}  // namespace hid
