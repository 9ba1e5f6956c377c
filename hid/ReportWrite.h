// When a write of one output report counts as complete.
//
// A HID output report goes to the device whole or not at all: Windows'
// class driver takes one report per WriteFile and refuses a buffer of any
// other length, hidraw writes one report per write(). The count the
// platform gives back differs: Windows counts the report id byte for
// devices without report ids and leaves it out for devices with them (so
// does wine); hidraw counts every byte.
#pragma once

#include <cstdint>

namespace hid {

// True when the write succeeded and `written` counts the whole `length`-byte
// report, or all of it but its first byte, the report id. Anything shorter
// did not reach the device as the report that was meant.
bool ReportWriteComplete(bool succeeded, std::uint32_t written, std::uint32_t length);

}  // namespace hid
